#pragma once

#include <windows.h>

#include <string>

#include "platform/StartupRegistry.h"

namespace kestrava::platform {

// The data of a Run value that starts the program: its full path, in double quotes
// when it holds a space, with no arguments.
std::string RunValueData(const std::string& programPath);

// Start-at-logon entries as values of the Run keys: the value named after the entry
// holds RunValueData of the program's path (REG_SZ), under
// HKEY_LOCAL_MACHINE for all users and HKEY_CURRENT_USER for the current user. Tests
// point the scopes at keys of their own.
class Win32StartupRegistry : public StartupRegistry {
public:
    struct RunKey {
        HKEY root;
        std::string path;
    };

    static constexpr const char* RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    Win32StartupRegistry() = default;
    Win32StartupRegistry(RunKey allUsers, RunKey currentUser)
        : allUsers_(std::move(allUsers)), currentUser_(std::move(currentUser)) {}

    // A missing key is made, as a profile may not have its Run key yet. Throws
    // RuntimeError 70 where the key refuses the write.
    void setEntry(StartupScope scope, const std::string& name,
                  const std::string& programPath) override;
    // A key that refuses the deletion is a failure only when the value is really there.
    void deleteEntry(StartupScope scope, const std::string& name) override;

    const RunKey& runKey(StartupScope scope) const {
        return scope == StartupScope::AllUsers ? allUsers_ : currentUser_;
    }

private:
    RunKey allUsers_{HKEY_LOCAL_MACHINE, RunKeyPath};
    RunKey currentUser_{HKEY_CURRENT_USER, RunKeyPath};
};

}  // namespace kestrava::platform
