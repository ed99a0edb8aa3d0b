#include "commands/WindowLifecycle.h"

#include <string>

#include "core/Product.h"

namespace kestrava::commands {

// The window keeps its minimised state while it is hidden and leaves it as it comes
// back: on X11, Qt maps a window the moment its minimised state is cleared, which
// would put the hidden window back on the screen, unpainted.
void MinimizeToTray(QWidget& window, tray::cSysTray& tray, bool& minimizedToTray) {
    if (!window.windowState().testFlag(Qt::WindowMinimized) || minimizedToTray) {
        return;
    }
    if (!tray.TrayAvailable()) {
        return;
    }
    window.hide();
    minimizedToTray = true;
    tray.ShowBalloon(std::string(MinimizeBalloonText), std::string(core::ProductName),
                     MinimizeBalloonSeconds, true);
}

// It comes back in the normal state, also when it was maximised before it went.
void BringBackFromTray(QWidget& window, bool& minimizedToTray) {
    if (window.windowState() != Qt::WindowNoState) {
        window.setWindowState(Qt::WindowNoState);
    }
    window.show();
    window.raise();
    window.activateWindow();
    minimizedToTray = false;
}

}  // namespace kestrava::commands
