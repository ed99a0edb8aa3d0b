#include "platform/NotifyArea.h"

namespace kestrava::platform {

std::intptr_t DefaultWindowProcedure(NotifyArea&, WindowHandle, std::uint32_t, std::uintptr_t,
                                     std::intptr_t) {
    return 0;
}

WindowHandle NotifyArea::createWindow() {
    const WindowHandle window = ++lastWindow_;
    windows_[window] = Window{};
    return window;
}

void NotifyArea::destroyWindow(WindowHandle window) {
    windows_.erase(window);
}

WindowProcedure NotifyArea::setWindowProcedure(WindowHandle window, WindowProcedure procedure) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) {
        return nullptr;
    }
    const WindowProcedure previous = found->second.procedure;
    found->second.procedure = procedure;
    return previous;
}

void NotifyArea::setWindowUserData(WindowHandle window, void* data) {
    const auto found = windows_.find(window);
    if (found != windows_.end()) {
        found->second.userData = data;
    }
}

void* NotifyArea::windowUserData(WindowHandle window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.userData;
}

void NotifyArea::deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) {
    const auto found = windows_.find(window);
    if (found == windows_.end() || found->second.procedure == nullptr) {
        return;
    }
    // The procedure may destroy the window or replace its procedure; nothing of the
    // entry is used once it runs.
    const WindowProcedure procedure = found->second.procedure;
    procedure(*this, window, message, wParam, lParam);
}

}  // namespace kestrava::platform
