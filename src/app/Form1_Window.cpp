#include <QCloseEvent>
#include <QEvent>

#include "app/Form1.h"
#include "commands/WindowLifecycle.h"
#include "core/LocationTags.h"

namespace kestrava::app {

void Form1::showAfterLoad() {
    if (!windowState().testFlag(Qt::WindowMinimized)) {
        show();
    } else if (cSysTray1.TrayAvailable()) {
        // Straight into the tray once the event loop runs: the window never reaches the
        // screen, so nothing flashes. Its native window, made only to carry the
        // minimised state, goes: on X11 it would keep the minimised state as its
        // initial state and come back from the tray as a minimised window again.
        destroy();
        QMetaObject::invokeMethod(this, &Form1::Form_Resize, Qt::QueuedConnection);
    } else {
        showMinimized();
    }
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A window that isn't shown changes state only because code set it (start-up
    // minimising the window, or going into the tray); there is nothing to act on then.
    // The handler runs after the window system has finished with the change, as it
    // may hide the window and wait for the balloon.
    if (event->type() == QEvent::WindowStateChange && isVisible()) {
        QMetaObject::invokeMethod(this, &Form1::Form_Resize, Qt::QueuedConnection);
    }
}

// The close is never refused, whoever asks: the user, the window manager or the end
// of the session.
void Form1::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

void Form1::Form_Resize() {
    commands::MinimizeToTray(*this, cSysTray1, MinimizedToTray);
}

void Form1::cSysTray1_MouseUp(std::int16_t /*button*/, std::int32_t /*iconId*/) {
    commands::BringBackFromTray(*this, MinimizedToTray);
}

void Form1::Form_QueryUnload() {
    const core::StepTrap trap(errorReport_, core::location_tag::FormQueryUnload);
    trap.run(100, [&] { Timer1->setEnabled(false); });
    trap.run(102, [&] { cSysTray1.InTray(false); });
    trap.run(104, [&] { services_.events.pumpEvents(); });
}

void Form1::Form_Unload() {
    services_.events.endProgram();
}

}  // namespace kestrava::app
