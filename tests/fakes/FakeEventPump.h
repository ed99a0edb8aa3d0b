#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "platform/EventPump.h"

namespace kestrava::fakes {

// Counts the pumps and records the waits; a test can make something happen at a pump
// or a wait, as a click would, and move a fake clock on while "waiting".
class FakeEventPump : public platform::EventPump {
public:
    void pumpEvents() override {
        ++pumps;
        if (onPump) {
            onPump();
        }
    }

    void waitForEvents(std::chrono::milliseconds longest) override {
        waits.push_back(longest);
        if (onWait) {
            onWait(longest);
        }
    }

    int pumps = 0;
    std::function<void()> onPump;
    std::vector<std::chrono::milliseconds> waits;
    std::function<void(std::chrono::milliseconds)> onWait;
};

}  // namespace kestrava::fakes
