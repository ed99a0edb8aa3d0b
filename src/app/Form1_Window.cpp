#include "app/Form1.h"
#include "commands/WindowLifecycle.h"
#include "core/LocationTags.h"

namespace kestrava::app {

// A window that start-up minimised goes straight into the tray and never reaches the
// screen; without a tray it shows minimised, where the desktop can bring it back.
void Form1::Show() {
    if (view_.windowState() == commands::WindowState::Minimized && cSysTray1.TrayAvailable()) {
        view_.runSoon([this] { Form_Resize(); });
    } else {
        view_.showWindow();
    }
}

void Form1::Form_Resize() {
    commands::MinimizeToTray(view_, cSysTray1, MinimizedToTray);
}

void Form1::cSysTray1_MouseUp(std::int16_t /*button*/, std::int32_t /*iconId*/) {
    commands::BringBackFromTray(view_, MinimizedToTray);
}

// The close is never refused, whoever asks: the user, the window manager or the end
// of the session.
void Form1::Form_QueryUnload() {
    const core::StepTrap trap(errorReport_, core::location_tag::FormQueryUnload);
    trap.run(100, [&] { view_.setTimerEnabled(false); });
    trap.run(102, [&] { cSysTray1.InTray(false); });
    trap.run(104, [&] { services_.events.pumpEvents(); });
}

void Form1::Form_Unload() {
    services_.events.endProgram();
}

}  // namespace kestrava::app
