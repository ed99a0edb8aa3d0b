#pragma once

#include <windows.h>

#include <map>

#include "platform/NotifyArea.h"

namespace kestrava::platform {

// The shell's notification area (Shell_NotifyIconW), and real hidden windows for the
// icons' notifications: each window is a hidden top-level window of a class of our
// own, its user data is GWLP_USERDATA, and the shell's callback messages reach it
// through the thread's message loop.
//
// Installing a procedure really replaces the window's procedure (SetWindowLongPtrW
// with GWLP_WNDPROC): the window then runs a routing procedure that calls the
// installed one. The procedure handed back for a window that had none of ours is the
// window's own, which passes a message on to the replaced procedure with
// CallWindowProcW; installing it again puts that procedure back in the window.
class Win32NotifyArea : public NotifyArea {
public:
    Win32NotifyArea();
    ~Win32NotifyArea() override;
    Win32NotifyArea(const Win32NotifyArea&) = delete;
    Win32NotifyArea& operator=(const Win32NotifyArea&) = delete;

    // The record's fields go into a NOTIFYICONDATAW of the same (second) layout, its
    // texts as UTF-16; an icon that is no Win32Icon counts as none.
    bool notifyIcon(NotifyMessage message, const NotifyIconData& data) override;
    // Whether the shell's tray window is there.
    bool isAvailable() const override;

    WindowHandle createWindow() override;
    void destroyWindow(WindowHandle window) override;
    WindowProcedure setWindowProcedure(WindowHandle window, WindowProcedure procedure) override;
    void setWindowUserData(WindowHandle window, void* data) override;
    void* windowUserData(WindowHandle window) const override;

private:
    struct Window {
        WNDPROC passOn = nullptr;          // the procedure that ours replaced
        WindowProcedure routed = nullptr;  // the one installed; none while the window's own runs
    };

    static LRESULT CALLBACK Routing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static std::intptr_t PassOn(NotifyArea& area, WindowHandle window, std::uint32_t message,
                                std::uintptr_t wParam, std::intptr_t lParam);

    std::map<HWND, Window> windows_;
};

}  // namespace kestrava::platform
