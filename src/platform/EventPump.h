#pragma once

#include <chrono>

namespace kestrava::platform {

// Lets pending window events run in the middle of long work on the one UI thread.
class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void pumpEvents() = 0;

    // Lets pending events run; when none is pending, sleeps until one comes, but no
    // longer than the given time. For loops that wait for an event without spinning.
    virtual void waitForEvents(std::chrono::milliseconds longest) = 0;
};

}  // namespace kestrava::platform
