#pragma once

#include <chrono>

namespace kestrava::platform {

// Lets pending window events run in the middle of long work on the one UI thread, and
// ends the program.
class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void pumpEvents() = 0;

    // Lets pending events run; when none is pending, sleeps until one comes, but no
    // longer than the given time. For loops that wait for an event without spinning.
    virtual void waitForEvents(std::chrono::milliseconds longest) = 0;

    // Ends the program at once. The event loop ends; work that was interrupted by the
    // event that asked for the end (a snapshot, a copy, the balloon's wait) never goes
    // on: the next time anything would let events run or show a message box, the
    // program ends there, without unwinding.
    virtual void endProgram() = 0;
};

}  // namespace kestrava::platform
