#pragma once

#include <chrono>

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

    // A pseudo-random fraction r, 0 <= r < 1, from a generator seeded with seed.
    virtual double seededRandomFraction(double seed) = 0;
};

}  // namespace kestrava::platform
