#pragma once

namespace kestrava::platform {

// Lets pending window events run in the middle of long work on the one UI thread.
class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void pumpEvents() = 0;
};

}  // namespace kestrava::platform
