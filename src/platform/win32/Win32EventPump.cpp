#include "platform/win32/Win32EventPump.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace kestrava::platform {

void Win32EventPump::pumpEvents() {
    endHereIfEnding();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < MinimumGap) {
        return;
    }
    dispatchPending();
    lastPump_ = std::chrono::steady_clock::now();
    endHereIfEnding();
}

void Win32EventPump::waitForEvents(std::chrono::milliseconds longest) {
    endHereIfEnding();
    const auto timeout = static_cast<DWORD>(
        std::clamp<std::chrono::milliseconds::rep>(longest.count(), 0, INFINITE - 1));
    // MWMO_INPUTAVAILABLE: messages already in the queue wake the wait too.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    dispatchPending();
    lastPump_ = std::chrono::steady_clock::now();
    endHereIfEnding();
}

void Win32EventPump::endProgram() {
    ending_ = true;
    ::PostQuitMessage(EXIT_SUCCESS);
}

void Win32EventPump::endHereIfEnding() const {
    if (ending_) {
        std::_Exit(EXIT_SUCCESS);
    }
}

// WM_QUIT is the program's own loop's to see: one that work meets while it pumps (the
// session ending, say) is posted again for that loop.
void Win32EventPump::dispatchPending() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace kestrava::platform
