#include "commands/WindowLifecycle.h"

#include <string>

#include "core/Product.h"

namespace kestrava::commands {

void MinimizeToTray(TopLevelWindow& window, tray::cSysTray& tray, bool& minimizedToTray) {
    if (window.windowState() != WindowState::Minimized || minimizedToTray) {
        return;
    }
    if (!tray.TrayAvailable()) {
        return;
    }
    window.hideWindow();
    window.setWindowState(WindowState::Normal);
    minimizedToTray = true;
    tray.ShowBalloon(std::string(MinimizeBalloonText), std::string(core::ProductName),
                     MinimizeBalloonSeconds, true);
}

// A window minimised while the desktop had no tray (one came up later) is set back to
// normal here too.
void BringBackFromTray(TopLevelWindow& window, bool& minimizedToTray) {
    if (window.windowState() != WindowState::Normal) {
        window.setWindowState(WindowState::Normal);
    }
    window.showWindow();
    window.focusWindow();
    minimizedToTray = false;
}

}  // namespace kestrava::commands
