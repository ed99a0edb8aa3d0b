#pragma once

#include <string>

#include "platform/SettingsBackend.h"

namespace kestrava::platform {

// The user's settings in the registry: string values (REG_SZ) of the key
// HKEY_CURRENT_USER\<root>\<application>\<section>, the root being "Software" but in
// tests, which keep their values apart from the user's.
class Win32SettingsBackend : public SettingsBackend {
public:
    explicit Win32SettingsBackend(std::string root = "Software") : root_(std::move(root)) {}

    // A value that is not a string counts as absent.
    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) const override;
    // Throws RuntimeError when the key can't be created or the value written.
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

    // The key below HKEY_CURRENT_USER that holds a section's values.
    std::string sectionKey(const std::string& application, const std::string& section) const;

private:
    std::string root_;
};

}  // namespace kestrava::platform
