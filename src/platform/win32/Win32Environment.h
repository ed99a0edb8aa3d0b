#pragma once

#include "platform/Environment.h"

namespace kestrava::platform {

class Win32Environment : public Environment {
public:
    std::optional<std::string> variable(const std::string& name) const override;
    // A drive's root keeps its backslash ("C:\"), as the program's folder always has.
    std::string programFolder() const override;
    std::string executableName() const override;
    std::string desktopFolder() const override;
    // The user's temporary folder (GetTempPathW), which is the user's own on Windows.
    std::string stateFolder(const std::string& programName) override;
};

}  // namespace kestrava::platform
