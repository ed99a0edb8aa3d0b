#include "platform/win32/Win32NotifyArea.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Icon.h"

namespace kestrava::platform {
namespace {

constexpr const wchar_t* WindowClassName = L"KestravaNotifyWindow";

// The window's own procedure: it ignores every message, as a window of the seam does.
LRESULT CALLBACK OwnProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND HandleOf(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

// A text into a fixed-size field with room for its NUL, never splitting a surrogate pair.
template <std::size_t Width>
void CopyField(wchar_t (&field)[Width], const std::string& text) {
    const std::wstring wide = ToUtf16(text);
    std::size_t length = std::min(wide.size(), Width - 1);
    if (length > 0 && length < wide.size() && IS_HIGH_SURROGATE(wide[length - 1])) {
        --length;
    }
    std::copy_n(wide.begin(), length, field);
    field[length] = L'\0';
}

}  // namespace

Win32NotifyArea::Win32NotifyArea() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OwnProcedure;
    windowClass.cbWndExtra = sizeof(LONG_PTR);  // the area the window belongs to
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = WindowClassName;
    ::RegisterClassExW(&windowClass);  // or there already, for another area of the program
}

Win32NotifyArea::~Win32NotifyArea() {
    for (const auto& [window, state] : windows_) {
        ::DestroyWindow(window);
    }
    // Refused while another area still has windows of the class.
    ::UnregisterClassW(WindowClassName, ::GetModuleHandleW(nullptr));
}

bool Win32NotifyArea::notifyIcon(NotifyMessage message, const NotifyIconData& data) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = HandleOf(data.hWnd);
    record.uID = data.uID;
    record.uFlags = data.uFlags;
    record.uCallbackMessage = data.uCallbackMessage;
    if (const auto* icon = dynamic_cast<const Win32Icon*>(data.hIcon.get())) {
        record.hIcon = icon->handle();
    }
    CopyField(record.szTip, data.szTip);
    record.dwState = data.dwState;
    record.dwStateMask = data.dwStateMask;
    CopyField(record.szInfo, data.szInfo);
    record.uTimeout = data.uTimeout;
    CopyField(record.szInfoTitle, data.szInfoTitle);
    record.dwInfoFlags = data.dwInfoFlags;
    const DWORD operation = message == NotifyMessage::Add      ? NIM_ADD
                            : message == NotifyMessage::Modify ? NIM_MODIFY
                                                               : NIM_DELETE;
    return ::Shell_NotifyIconW(operation, &record);
}

bool Win32NotifyArea::isAvailable() const {
    return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

WindowHandle Win32NotifyArea::createWindow() {
    const HWND window =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, WindowClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return 0;
    }
    ::SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(this));
    windows_[window] = Window{};
    return reinterpret_cast<WindowHandle>(window);
}

void Win32NotifyArea::destroyWindow(WindowHandle window) {
    if (windows_.erase(HandleOf(window)) == 1) {
        ::DestroyWindow(HandleOf(window));
    }
}

WindowProcedure Win32NotifyArea::setWindowProcedure(WindowHandle window,
                                                    WindowProcedure procedure) {
    const auto found = windows_.find(HandleOf(window));
    if (found == windows_.end()) {
        return nullptr;
    }
    Window& state = found->second;
    const WindowProcedure previous = state.routed != nullptr ? state.routed : &PassOn;
    if (procedure == nullptr || procedure == &PassOn) {
        if (state.routed != nullptr) {
            ::SetWindowLongPtrW(found->first, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(state.passOn));
            state.routed = nullptr;
        }
        return previous;
    }
    if (state.routed == nullptr) {
        state.passOn = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(found->first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Routing)));
    }
    state.routed = procedure;
    return previous;
}

void Win32NotifyArea::setWindowUserData(WindowHandle window, void* data) {
    if (windows_.contains(HandleOf(window))) {
        ::SetWindowLongPtrW(HandleOf(window), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    }
}

void* Win32NotifyArea::windowUserData(WindowHandle window) const {
    if (!windows_.contains(HandleOf(window))) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetWindowLongPtrW(HandleOf(window), GWLP_USERDATA));
}

// The procedure of a window that runs one of ours: the area is in the window's extra
// bytes, the procedure in the area's record of the window.
LRESULT CALLBACK Win32NotifyArea::Routing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* area = reinterpret_cast<Win32NotifyArea*>(::GetWindowLongPtrW(window, 0))) {
        const auto found = area->windows_.find(window);
        if (found != area->windows_.end() && found->second.routed != nullptr) {
            // The procedure may destroy the window; nothing of its record is used after.
            return found->second.routed(*area, reinterpret_cast<WindowHandle>(window), message,
                                        wParam, lParam);
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::intptr_t Win32NotifyArea::PassOn(NotifyArea& area, WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
    auto& self = static_cast<Win32NotifyArea&>(area);
    const auto found = self.windows_.find(HandleOf(window));
    const WNDPROC passOn = found != self.windows_.end() && found->second.passOn != nullptr
                               ? found->second.passOn
                               : OwnProcedure;
    return ::CallWindowProcW(passOn, HandleOf(window), message, wParam, lParam);
}

}  // namespace kestrava::platform
