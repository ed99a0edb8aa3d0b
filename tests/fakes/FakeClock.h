#pragma once

#include <cstdint>
#include <vector>

#include "platform/Clock.h"

namespace kestrava::fakes {

class FakeClock : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() const override { return currentTime; }
    std::chrono::steady_clock::time_point monotonicNow() const override { return monotonicTime; }
    double secondsSinceMidnight() const override { return secondsAfterMidnight; }
    std::int32_t utcOffsetAt(std::int64_t) const override { return utcOffset; }
    double seededRandomFraction(double seed) override {
        seeds.push_back(seed);
        return randomFraction;
    }

    std::chrono::system_clock::time_point currentTime{};
    std::chrono::steady_clock::time_point monotonicTime{};
    double secondsAfterMidnight = 12345.5;
    std::int32_t utcOffset = 0;  // local time is UTC unless a test says otherwise
    double randomFraction = 0.5;
    std::vector<double> seeds;
};

}  // namespace kestrava::fakes
