#pragma once

#include <cstdint>
#include <string_view>

#include "commands/TopLevelWindow.h"
#include "tray/cSysTray.h"

// How the main window goes into the notification area and comes back from it.
namespace kestrava::commands {

// What the balloon says the first time in a run that the window goes into the tray.
inline constexpr std::string_view MinimizeBalloonText =
    "has been minimized to the system tray.\r\n"
    "Click on the blue 'V' icon (V for Velquist) to bring the software back.";
inline constexpr std::int32_t MinimizeBalloonSeconds = 5;

// A minimised window goes into the tray: it is hidden, set back to its normal state
// for when it comes back, and marked as in the tray. The first time in a run a balloon
// on the icon says where it went; the call then waits for the balloon, up to its
// time-out, while events run (a click on the icon can bring the window back
// meanwhile). Nothing happens to a window that isn't minimised or is in the tray
// already. Where the desktop has no tray the window stays minimised, as any window
// would: hidden, nothing could bring it back.
void MinimizeToTray(TopLevelWindow& window, tray::cSysTray& tray, bool& minimizedToTray);

// Shows the window in its normal state, in front and with the focus, and clears the
// mark. A window that is shown already only comes to the front.
void BringBackFromTray(TopLevelWindow& window, bool& minimizedToTray);

}  // namespace kestrava::commands
