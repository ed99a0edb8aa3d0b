#pragma once

#include <cstdint>

#include "platform/NotifyArea.h"

// Routes the notification area's messages for a cSysTray's window to the instance.
namespace kestrava::tray::mSysTray {

// The message the notification area sends a cSysTray's window for its icon.
inline constexpr std::uint32_t CallbackMessage = 1125;

// The procedure that a cSysTray's window had before the control routed it through
// WindowProc. One slot for the whole program: one tray control is active at a time.
extern platform::WindowProcedure PreviousWindowProc;

// The procedure of a cSysTray's window while its icon is in the tray: hands the icon's
// notifications to the instance that the window's user data names, then passes every
// message on to the previous procedure.
std::intptr_t WindowProc(platform::NotifyArea& area, platform::WindowHandle window,
                         std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace kestrava::tray::mSysTray
