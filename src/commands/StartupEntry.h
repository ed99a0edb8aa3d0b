#pragma once

#include <optional>

#include "platform/Environment.h"
#include "platform/RuntimeError.h"
#include "platform/StartupRegistry.h"

// Registering the running program to start at logon, under its executable's name.
namespace kestrava::commands {

struct StartupEntryResult {
    // Whose logon now starts the program; nothing when no entry could be written.
    std::optional<platform::StartupScope> writtenFor;
    // Why not, when nothing was written.
    std::optional<platform::RuntimeError> failure;

    bool written() const { return writtenFor.has_value(); }
};

// Writes the entry for all users or, when that is refused, for the current user. An
// entry of the same name for the current user goes once the one for all users is
// written, as it would win at logon; where it can't go, it is rewritten to match.
StartupEntryResult AddStartupEntry(platform::StartupRegistry& registry,
                                   const platform::Environment& environment);

// Deletes the entry for all users and for the current user. Answers the first
// failure; nothing when neither entry is left.
std::optional<platform::RuntimeError> RemoveStartupEntry(platform::StartupRegistry& registry,
                                                         const platform::Environment& environment);

}  // namespace kestrava::commands
