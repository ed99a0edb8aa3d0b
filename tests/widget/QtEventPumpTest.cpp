#include "platform/qt/QtEventPump.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>

namespace kestrava::platform {
namespace {

using namespace std::chrono_literals;

TEST(QtEventPumpWait, SleepsUntilAnEventComesButNoLongerThanAsked) {
    QtEventPump events;
    using Clock = std::chrono::steady_clock;

    // With nothing to do, a wait of 200 ms takes a handful of calls, not a busy loop.
    auto start = Clock::now();
    int calls = 0;
    for (auto waited = 0ms; waited < 200ms; ++calls) {
        events.waitForEvents(200ms - waited);
        waited = std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - start);
    }
    EXPECT_LT(calls, 20);
    EXPECT_LT(Clock::now() - start, 2s);

    bool handled = false;
    QTimer::singleShot(20ms, [&] { handled = true; });
    start = Clock::now();
    while (!handled && Clock::now() - start < 5s) {
        events.waitForEvents(5000ms);
    }
    EXPECT_TRUE(handled);
    EXPECT_LT(Clock::now() - start, 2s);
}

}  // namespace
}  // namespace kestrava::platform
