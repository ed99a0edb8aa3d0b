#pragma once

#include <string>

namespace kestrava::platform {

// Whose logon starts an entry's program.
enum class StartupScope { AllUsers, CurrentUser };

// The programs that start when a user logs on, each under a name of its own.
class StartupRegistry {
public:
    virtual ~StartupRegistry() = default;

    // Makes the program at programPath (a full path, run without arguments) start at
    // logon under the name, replacing an entry of that name.
    // Throws RuntimeError when the entry can't be written.
    virtual void setEntry(StartupScope scope, const std::string& name,
                          const std::string& programPath) = 0;

    // Deletes the entry of that name; a missing entry is no failure.
    // Throws RuntimeError when the entry is there and can't be deleted.
    virtual void deleteEntry(StartupScope scope, const std::string& name) = 0;
};

}  // namespace kestrava::platform
