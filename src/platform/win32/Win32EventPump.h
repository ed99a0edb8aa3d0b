#pragma once

#include <chrono>

#include "platform/EventPump.h"

namespace kestrava::platform {

// The thread's message queue. As in the Qt pump, calls that come sooner than
// MinimumGap after the last real pump return at once: a walk pumps at every folder,
// and an empty PeekMessageW still costs its call.
//
// The program's own message loop (GetMessageW until WM_QUIT) belongs to the window;
// endProgram() posts WM_QUIT for it. Work that was under way when the end was asked for
// never goes on: its next pump, wait or message box ends the program there.
class Win32EventPump : public EventPump {
public:
    static constexpr std::chrono::milliseconds MinimumGap{5};

    void pumpEvents() override;
    void waitForEvents(std::chrono::milliseconds longest) override;
    void endProgram() override;

    // Ends the program here when its end has been asked for; for everything that is
    // about to let messages run (a pump, a message box).
    void endHereIfEnding() const;

    bool ending() const { return ending_; }

private:
    void dispatchPending();

    std::chrono::steady_clock::time_point lastPump_{};
    bool ending_ = false;
};

}  // namespace kestrava::platform
