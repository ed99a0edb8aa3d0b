#pragma once

#include <string_view>

// The texts that show the logging state on the window.
namespace kestrava::engine::caption {

inline constexpr std::string_view TurnOff = "Turn Off Automatic Log";  // while logging is on
inline constexpr std::string_view TurnOn = "Turn On Automatic Log";    // while logging is off
inline constexpr std::string_view SwitchAtDesign = "Turn On Automatic Logging";
inline constexpr std::string_view OffAtStartup = "Automatic Log is Turned Off.";
inline constexpr std::string_view SwitchedOff = "Automatic Log is Off.";
inline constexpr std::string_view NextLogIn = "Next log will occur in ";
inline constexpr std::string_view ProgressBar = "Progress Bar";

}  // namespace kestrava::engine::caption
