#include "commands/WindowLifecycle.h"

#include <string>

#include "core/Product.h"

namespace kestrava::commands {

void MinimizeToTray(QWidget& window, tray::cSysTray& tray, bool& minimizedToTray) {
    if (!window.windowState().testFlag(Qt::WindowMinimized) || minimizedToTray) {
        return;
    }
    if (!tray.TrayAvailable()) {
        return;
    }
    window.hide();
    window.setWindowState(Qt::WindowNoState);
    minimizedToTray = true;
    tray.ShowBalloon(std::string(MinimizeBalloonText), std::string(core::ProductName),
                     MinimizeBalloonSeconds, true);
}

void BringBackFromTray(QWidget& window, bool& minimizedToTray) {
    // A hidden window can be marked minimised again by the window manager's last word
    // about it; shown like that it would stay an entry in the taskbar.
    if (window.windowState().testFlag(Qt::WindowMinimized)) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    }
    window.show();
    window.raise();
    window.activateWindow();
    minimizedToTray = false;
}

}  // namespace kestrava::commands
