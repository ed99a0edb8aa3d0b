#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "platform/Picture.h"

namespace kestrava::platform {

class NotifyArea;

// A window that the notification area talks to. It need not be visible; it is only
// where the area's messages for an icon are sent. Wide enough for a real window's
// handle.
using WindowHandle = std::uintptr_t;

// Receives a window's messages; the area passes itself so that the procedure can
// read the window's user data.
using WindowProcedure = std::intptr_t (*)(NotifyArea& area, WindowHandle window,
                                          std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam);

// The procedure a window starts with: it ignores every message.
std::intptr_t DefaultWindowProcedure(NotifyArea& area, WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam);

// What to do with the icon that a record names by window and identifier.
enum class NotifyMessage { Add = 0, Modify = 1, Delete = 2 };

// Which fields of a record the area is to use.
namespace notify_flag {
inline constexpr std::uint32_t Message = 0x1;
inline constexpr std::uint32_t Icon = 0x2;
inline constexpr std::uint32_t Tip = 0x4;
inline constexpr std::uint32_t Info = 0x10;
}  // namespace notify_flag

// The codes that come back as lParam of an icon's callback message, with the icon's
// identifier as wParam.
namespace notify_code {
inline constexpr std::uint32_t MouseMove = 0x200;
inline constexpr std::uint32_t LeftButtonDown = 0x201;
inline constexpr std::uint32_t LeftButtonUp = 0x202;
inline constexpr std::uint32_t LeftButtonDoubleClick = 0x203;
inline constexpr std::uint32_t RightButtonDown = 0x204;
inline constexpr std::uint32_t RightButtonUp = 0x205;
inline constexpr std::uint32_t RightButtonDoubleClick = 0x206;
inline constexpr std::uint32_t MiddleButtonDown = 0x207;
inline constexpr std::uint32_t MiddleButtonUp = 0x208;
inline constexpr std::uint32_t MiddleButtonDoubleClick = 0x209;
inline constexpr std::uint32_t BalloonShow = 0x402;
inline constexpr std::uint32_t BalloonHide = 0x403;
inline constexpr std::uint32_t BalloonTimeout = 0x404;
inline constexpr std::uint32_t BalloonUserClick = 0x405;
}  // namespace notify_code

// One request to the notification area. Every request starts from a zeroed record
// and fills only the fields it needs; the text fields hold at most their width less
// one byte (room for the terminating NUL of the shell's fixed-size record).
struct NotifyIconData {
    static constexpr std::uint32_t RecordSize = 488;
    static constexpr std::size_t TipWidth = 128;
    static constexpr std::size_t InfoWidth = 256;
    static constexpr std::size_t InfoTitleWidth = 64;

    std::uint32_t cbSize = 0;
    WindowHandle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    PictureRef hIcon;
    std::string szTip;
    std::uint32_t dwState = 0;
    std::uint32_t dwStateMask = 0;
    std::string szInfo;
    std::uint32_t uTimeout = 0;  // milliseconds
    std::string szInfoTitle;
    std::uint32_t dwInfoFlags = 0;

    bool operator==(const NotifyIconData&) const = default;
};

// The desktop's notification area (the system tray): icons with a tip and a balloon,
// and the windows that receive their mouse and balloon notifications.
//
// By default the windows live here, in memory: a window is a procedure and a user-data
// word, and an implementation hands a notification to the window's current procedure
// through deliver(). An implementation over real windows (Win32's) overrides the
// window operations instead, and its notifications arrive as the windows' messages.
// No operation throws.
class NotifyArea {
public:
    virtual ~NotifyArea() = default;

    // Adds, changes or deletes an icon. True when the area took the request; a change
    // or deletion of an icon that is not there is refused.
    virtual bool notifyIcon(NotifyMessage message, const NotifyIconData& data) = 0;

    // Whether the desktop has a notification area now, so that an icon can be seen.
    virtual bool isAvailable() const = 0;

    // A new window, with a procedure of its own that ignores every message (here
    // DefaultWindowProcedure) and no user data.
    virtual WindowHandle createWindow();
    virtual void destroyWindow(WindowHandle window);

    // Installs a procedure for the window and returns the one it replaces
    // (nothing for a window that does not exist). Putting the returned procedure
    // back gives the window its earlier procedure again.
    virtual WindowProcedure setWindowProcedure(WindowHandle window, WindowProcedure procedure);

    virtual void setWindowUserData(WindowHandle window, void* data);
    virtual void* windowUserData(WindowHandle window) const;

protected:
    // Sends a message to the window's current procedure; nothing when the window is gone.
    void deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam);

private:
    struct Window {
        WindowProcedure procedure = DefaultWindowProcedure;
        void* userData = nullptr;
    };

    std::map<WindowHandle, Window> windows_;
    WindowHandle lastWindow_ = 0;
};

}  // namespace kestrava::platform
