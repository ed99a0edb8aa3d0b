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

    // Where the program keeps the files it writes for the user when no variable names a
    // temporary folder: a folder of the user's own, shared with no other user and kept
    // across restarts, named after the program. Made, open to the user alone, when it
    // is missing. Throws RuntimeError when it can't be named or made.
    virtual std::string stateFolder(const std::string& programName) = 0;
};

}  // namespace kestrava::platform
