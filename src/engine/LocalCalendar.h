#pragma once

#include <array>
#include <cstdint>

#include "platform/Clock.h"

namespace kestrava::engine {

// A moment as the local calendar and clock show it.
struct LocalDateTime {
    std::int64_t year = 1970;
    int month = 1;      // 1 to 12
    int day = 1;        // 1 to 31
    int dayOfWeek = 4;  // 1 Monday to 7 Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }
};

// Turns moments into local date and time fast enough to do it for every file of a
// snapshot. The time zone is asked only twice per UTC day met: when a day has the
// same offset from UTC at its start and at its end, every moment of it gets that
// offset and the calendar arithmetic is done here. Days on which the offset changes
// ask the time zone for each moment.
class LocalCalendar {
public:
    explicit LocalCalendar(const platform::Clock& clock) : clock_(clock) {}

    LocalDateTime at(std::int64_t utcSeconds);

    // The local date and time of a moment back as the moment. A local time that the
    // clock shows twice (when it goes back an hour) gives the first; one that it skips
    // gives the moment an hour on.
    std::int64_t utcSecondsOf(const LocalDateTime& time);

    // The calendar date of a day counted from 1970-01-01 (day 0), and its weekday.
    static LocalDateTime dateOfDay(std::int64_t day);

    // The day of a calendar date, counted from 1970-01-01 (day 0).
    static std::int64_t dayOfDate(std::int64_t year, int month, int day);

    static int daysInMonth(std::int64_t year, int month);

private:
    struct KnownDay {
        std::int64_t utcDay = INT64_MIN;
        std::int32_t offset = 0;
        bool offsetHoldsAllDay = false;
    };

    std::int32_t offsetAt(std::int64_t utcSeconds);

    const platform::Clock& clock_;
    std::array<KnownDay, 1024> days_{};
};

}  // namespace kestrava::engine
