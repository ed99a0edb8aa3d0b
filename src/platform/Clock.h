#pragma once

#include <chrono>
#include <cstdint>

namespace kestrava::platform {

class Clock {
public:
    virtual ~Clock() = default;

    virtual std::chrono::system_clock::time_point now() const = 0;

    // A time that only moves forward, for measuring how long something took; it does
    // not jump when the wall clock is set or passes midnight.
    virtual std::chrono::steady_clock::time_point monotonicNow() const = 0;

    // Seconds since local midnight, with fractions.
    virtual double secondsSinceMidnight() const = 0;

    // How many seconds local time is ahead of UTC at the given moment (seconds since
    // 1970-01-01 00:00:00 UTC); 0 where the time zone can't tell.
    virtual std::int32_t utcOffsetAt(std::int64_t utcSeconds) const = 0;

    // A pseudo-random fraction r, 0 <= r < 1, from a generator seeded with seed.
    virtual double seededRandomFraction(double seed) = 0;
};

}  // namespace kestrava::platform
