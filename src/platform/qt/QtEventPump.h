#pragma once

#include <chrono>

#include "platform/EventPump.h"

namespace kestrava::platform {

// Long work calls pumpEvents() at many small points (every folder of a walk, say).
// Running the event loop costs a few microseconds even when nothing is pending, so
// calls that come sooner than MinimumGap after the last real pump return at once: a
// walk of a million folders doesn't pay for a million empty event loops, and whatever
// falls due meanwhile (a repaint, a timer) waits no more than that gap.
class QtEventPump : public EventPump {
public:
    static constexpr std::chrono::milliseconds MinimumGap{2};

    void pumpEvents() override;
    void waitForEvents(std::chrono::milliseconds longest) override;
    void endProgram() override;

    // Ends the program here when its end has been asked for; for everything that is
    // about to let events run (a pump, a message box).
    void endHereIfEnding() const;

private:
    std::chrono::steady_clock::time_point lastPump_{};
    bool ending_ = false;
};

}  // namespace kestrava::platform
