#pragma once

#include <optional>
#include <string>

namespace kestrava::platform {

// Facts about where the program runs.
class Environment {
public:
    virtual ~Environment() = default;

    // The value of an environment variable; nothing when it is unset or empty.
    virtual std::optional<std::string> variable(const std::string& name) const = 0;

    // The folder that holds the running executable, without a trailing separator.
    virtual std::string programFolder() const = 0;

    // The running executable's own file name, without any folder.
    virtual std::string executableName() const = 0;

    // The user's desktop folder without a trailing separator; empty when it can't be named.
    virtual std::string desktopFolder() const = 0;

    // The system's temporary folder, for when no variable names one.
    virtual std::string systemTemporaryFolder() const = 0;
};

}  // namespace kestrava::platform
