#include "engine/LocalCalendar.h"

#include <algorithm>

namespace kestrava::engine {
namespace {

constexpr std::int64_t SecondsPerDay = 86400;
// Far beyond any file time; keeps the sums below from overflowing.
constexpr std::int64_t FarthestMoment = std::int64_t{1} << 55;

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor < 0) ? quotient - 1 : quotient;
}

std::int64_t FloorModulo(std::int64_t value, std::int64_t divisor) {
    return value - FloorDivide(value, divisor) * divisor;
}

}  // namespace

// Days to civil date in the proleptic Gregorian calendar, counted in 400-year eras
// of 146097 days that start on a 1 March.
LocalDateTime LocalCalendar::dateOfDay(std::int64_t day) {
    const std::int64_t shifted = day + 719468;  // from 0000-03-01
    const std::int64_t era = FloorDivide(shifted, 146097);
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    LocalDateTime date;
    date.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
    date.dayOfWeek = static_cast<int>(FloorModulo(day + 3, 7)) + 1;  // 1970-01-01 was a Thursday
    return date;
}

std::int64_t LocalCalendar::dayOfDate(std::int64_t year, int month, int day) {
    const std::int64_t yearFromMarch = month <= 2 ? year - 1 : year;
    const std::int64_t era = FloorDivide(yearFromMarch, 400);
    const std::int64_t yearOfEra = yearFromMarch - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int LocalCalendar::daysInMonth(std::int64_t year, int month) {
    if (month == 2) {
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        return leap ? 29 : 28;
    }
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

// The offsets a day before and a day after the local time are the only ones it can have
// (no zone changes its offset twice in two days); each gives a moment, which is the one
// when the clock shows that offset then.
std::int64_t LocalCalendar::utcSecondsOf(const LocalDateTime& time) {
    const std::int64_t local =
        std::clamp(dayOfDate(time.year, time.month, time.day) * SecondsPerDay + time.hour * 3600 +
                       time.minute * 60 + time.second,
                   -FarthestMoment, FarthestMoment);
    const std::int64_t early = local - offsetAt(local - SecondsPerDay);
    const std::int64_t late = local - offsetAt(local + SecondsPerDay);
    const bool earlyHolds = early + offsetAt(early) == local;
    const bool lateHolds = late + offsetAt(late) == local;
    if (earlyHolds && lateHolds) {
        return std::min(early, late);
    }
    return lateHolds ? late : early;
}

std::int32_t LocalCalendar::offsetAt(std::int64_t utcSeconds) {
    const std::int64_t utcDay = FloorDivide(utcSeconds, SecondsPerDay);
    KnownDay& known = days_[static_cast<std::size_t>(utcDay) % days_.size()];
    if (known.utcDay != utcDay) {
        const std::int64_t start = utcDay * SecondsPerDay;
        const std::int32_t atStart = clock_.utcOffsetAt(start);
        const std::int32_t atEnd = clock_.utcOffsetAt(start + SecondsPerDay - 1);
        known = {utcDay, atStart, atStart == atEnd};
    }
    return known.offsetHoldsAllDay ? known.offset : clock_.utcOffsetAt(utcSeconds);
}

LocalDateTime LocalCalendar::at(std::int64_t utcSeconds) {
    utcSeconds = std::clamp(utcSeconds, -FarthestMoment, FarthestMoment);
    const std::int64_t local = utcSeconds + offsetAt(utcSeconds);
    const std::int64_t day = FloorDivide(local, SecondsPerDay);
    const auto secondOfDay = static_cast<int>(local - day * SecondsPerDay);
    LocalDateTime time = dateOfDay(day);
    time.hour = secondOfDay / 3600;
    time.minute = secondOfDay / 60 % 60;
    time.second = secondOfDay % 60;
    return time;
}

}  // namespace kestrava::engine
