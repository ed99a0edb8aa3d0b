#pragma once

namespace kestrava::commands {

// The window's state, numbered as the window reports it.
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The main window as the desktop shows it: what going into the tray and coming back
// from it act on.
class TopLevelWindow {
public:
    virtual ~TopLevelWindow() = default;

    virtual WindowState windowState() const = 0;
    // A hidden window takes its new state when it is shown again.
    virtual void setWindowState(WindowState state) = 0;

    // Hidden, the window leaves the screen and the taskbar.
    virtual void hideWindow() = 0;
    virtual void showWindow() = 0;
    // In front, with the keyboard's focus.
    virtual void focusWindow() = 0;
};

}  // namespace kestrava::commands
