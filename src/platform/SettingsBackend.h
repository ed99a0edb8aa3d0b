#pragma once

#include <string>

namespace kestrava::platform {

// A per-user store of string values addressed by application, section and key.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;

    // The stored value, or defaultValue when the key is absent. Never writes.
    virtual std::string read(const std::string& application, const std::string& section,
                             const std::string& key, const std::string& defaultValue) const = 0;

    // Stores the value at once, creating whatever is missing and replacing an earlier value.
    virtual void write(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& value) = 0;
};

}  // namespace kestrava::platform
