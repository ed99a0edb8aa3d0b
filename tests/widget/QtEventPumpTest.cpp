#include "platform/qt/QtEventPump.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "platform/qt/QtDialogs.h"

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

// After the end is asked for, nothing that was interrupted goes on: the next pump,
// wait or message box ends the program right there.
TEST(QtEventPumpEnd, TheNextPumpWaitOrBoxEndsTheProgramThere) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    const auto endThen = [](const std::function<void(QtEventPump&, QtDialogs&)>& next) {
        QtEventPump events;
        QtDialogs dialogs(events);
        events.endProgram();
        next(events, dialogs);
        std::abort();  // not reached when the program ended where it should
    };
    EXPECT_EXIT(endThen([](QtEventPump& events, QtDialogs&) { events.pumpEvents(); }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(endThen([](QtEventPump& events, QtDialogs&) { events.waitForEvents(10s); }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(endThen([](QtEventPump&, QtDialogs& dialogs) {
                    dialogs.showMessage({"text", "caption", MessageButtons::Ok, MessageIcon::None});
                }),
                ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestrava::platform
