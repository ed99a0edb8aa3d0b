#include "tray/mSysTray.h"

#include "tray/cSysTray.h"

namespace kestrava::tray::mSysTray {

platform::WindowProcedure PreviousWindowProc = nullptr;

std::intptr_t WindowProc(platform::NotifyArea& area, platform::WindowHandle window,
                         std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == CallbackMessage) {
        // The user data is the instance that routed this window here; it is borrowed.
        if (auto* control = static_cast<cSysTray*>(area.windowUserData(window))) {
            control->Dispatch(static_cast<std::uint32_t>(lParam),
                              static_cast<std::uint32_t>(wParam));
        }
    }
    if (PreviousWindowProc == nullptr) {
        return 0;
    }
    return PreviousWindowProc(area, window, message, wParam, lParam);
}

}  // namespace kestrava::tray::mSysTray
