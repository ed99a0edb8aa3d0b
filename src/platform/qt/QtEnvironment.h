#pragma once

#include "platform/Environment.h"

namespace kestrava::platform {

class QtEnvironment : public Environment {
public:
    std::optional<std::string> variable(const std::string& name) const override;
    std::string programFolder() const override;
    std::string executableName() const override;
    std::string desktopFolder() const override;
    // $XDG_STATE_HOME/<program>, $XDG_STATE_HOME defaulting to ~/.local/state.
    std::string stateFolder(const std::string& programName) override;
};

}  // namespace kestrava::platform
