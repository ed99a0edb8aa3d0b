#pragma once

#include <string>

#include "platform/Services.h"
#include "settings/SettingsStore.h"

// What setting and clearing the start-at-logon option do beyond the window: the
// stored option and the program's start-up entry.
namespace kestrava::commands {

// The messages, with the failure's description after them.
inline constexpr std::string_view NotRegisteredMessage =
    "Kestrava can't be set to start when you log on: its start-up entry could be written "
    "neither for all users nor for you alone";
inline constexpr std::string_view NotUnregisteredMessage =
    "Kestrava's start-up entry could not be removed, so Kestrava may still start when you "
    "log on";

// Stores "On" and registers the program to start at logon. When no entry could be
// written, neither for all users nor for the current one, says so in a message box
// and answers false: the option is then not in effect and the caller clears it.
bool TurnOnStartAtLogon(settings::SettingsStore& settings, platform::Services& services,
                        const std::string& appTitle);

// Stores "Off" and removes the program's start-up entries. An entry that stays is
// reported, as the program would then still start at logon.
void TurnOffStartAtLogon(settings::SettingsStore& settings, platform::Services& services,
                         const std::string& appTitle);

}  // namespace kestrava::commands
