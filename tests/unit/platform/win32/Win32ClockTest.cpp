#include "platform/win32/Win32Clock.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrava::platform {
namespace {

// The tests run with local time in Berlin (TZ=Europe/Berlin, which wine turns into the
// zone's rules): UTC+1 in winter, UTC+2 from the last Sunday of March, 01:00 UTC, to
// the last Sunday of October, 01:00 UTC.
constexpr std::int64_t Mar29At0100Utc2026 = 1774746000;
constexpr std::int64_t Oct25At0100Utc2026 = 1792890000;

TEST(Win32Clock, GivesEachMomentTheOffsetOfItsOwnSeason) {
    const Win32Clock clock;
    EXPECT_EQ(clock.utcOffsetAt(Mar29At0100Utc2026 - 1), 3600);
    EXPECT_EQ(clock.utcOffsetAt(Mar29At0100Utc2026), 7200);
    EXPECT_EQ(clock.utcOffsetAt(Oct25At0100Utc2026 - 1), 7200);
    EXPECT_EQ(clock.utcOffsetAt(Oct25At0100Utc2026), 3600);
    EXPECT_EQ(clock.utcOffsetAt(1796613436), 3600);  // 2026-12-07
}

TEST(Win32Clock, KnowsNoOffsetBeyondWhatTheSystemCanCount) {
    const Win32Clock clock;
    EXPECT_EQ(clock.utcOffsetAt(-11644473601LL), 0);  // before 1601
    EXPECT_EQ(clock.utcOffsetAt(INT64_MAX), 0);
    EXPECT_EQ(clock.utcOffsetAt(INT64_MIN), 0);
}

}  // namespace
}  // namespace kestrava::platform
