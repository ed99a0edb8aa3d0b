#pragma once

#include <functional>

#include "platform/EventPump.h"

namespace kestrava::fakes {

// Counts the pumps; a test can make something happen at a pump, as a click would.
class FakeEventPump : public platform::EventPump {
public:
    void pumpEvents() override {
        ++pumps;
        if (onPump) {
            onPump();
        }
    }

    int pumps = 0;
    std::function<void()> onPump;
};

}  // namespace kestrava::fakes
