#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "platform/EventPump.h"

namespace kestrava::fakes {

// What the fake pump throws where the real program would end at once: the test
// catches it where the work that was interrupted began.
struct ProgramEnded {};

// Counts the pumps and records the waits; a test can make something happen at a pump
// or a wait, as a click would, and move a fake clock on while "waiting". Once the
// program has been asked to end, the next pump or wait throws ProgramEnded.
class FakeEventPump : public platform::EventPump {
public:
    void pumpEvents() override {
        endHereIfEnding();
        ++pumps;
        if (onPump) {
            onPump();
        }
        endHereIfEnding();
    }

    void waitForEvents(std::chrono::milliseconds longest) override {
        endHereIfEnding();
        waits.push_back(longest);
        if (onWait) {
            onWait(longest);
        }
        endHereIfEnding();
    }

    void endProgram() override { ended = true; }

    int pumps = 0;
    std::function<void()> onPump;
    std::vector<std::chrono::milliseconds> waits;
    std::function<void(std::chrono::milliseconds)> onWait;
    bool ended = false;

private:
    void endHereIfEnding() const {
        if (ended) {
            throw ProgramEnded{};
        }
    }
};

}  // namespace kestrava::fakes
