#pragma once

#include "platform/Environment.h"

namespace kestrava::platform {

class QtEnvironment : public Environment {
public:
    std::optional<std::string> variable(const std::string& name) const override;
    std::string programFolder() const override;
    std::string executableName() const override;
    std::string desktopFolder() const override;
    std::string systemTemporaryFolder() const override;
};

}  // namespace kestrava::platform
