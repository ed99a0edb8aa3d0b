#pragma once

#include "platform/SettingsBackend.h"

namespace kestrava::platform {

// The user's settings file: on Linux $XDG_CONFIG_HOME/<application>.conf with one
// group per section; on Windows the user's registry hive.
class QtSettingsBackend : public SettingsBackend {
public:
    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) const override;
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;
};

}  // namespace kestrava::platform
