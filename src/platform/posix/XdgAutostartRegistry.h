#pragma once

#include <string>

#include "platform/Environment.h"
#include "platform/StartupRegistry.h"

namespace kestrava::platform {

// Start-at-logon entries as desktop entries in the XDG autostart folders:
// <name>.desktop in the autostart folder below the first folder of $XDG_CONFIG_DIRS
// (default /etc/xdg) for all users, below $XDG_CONFIG_HOME (default ~/.config) for
// the current user. An entry is replaced in one step (written beside, then renamed),
// so that a logon never finds half an entry. Missing folders are created.
class XdgAutostartRegistry : public StartupRegistry {
public:
    // displayName and iconName go into the entries' Name and Icon keys.
    XdgAutostartRegistry(const Environment& environment, std::string displayName,
                         std::string iconName);

    void setEntry(StartupScope scope, const std::string& name,
                  const std::string& programPath) override;
    void deleteEntry(StartupScope scope, const std::string& name) override;

    // The autostart folder of a scope. Throws RuntimeError 76 when it can't be named.
    std::string autostartFolder(StartupScope scope) const;

    // The whole content of an entry that starts the program.
    std::string entryText(const std::string& programPath) const;

private:
    const Environment& environment_;
    std::string displayName_;
    std::string iconName_;
};

}  // namespace kestrava::platform
