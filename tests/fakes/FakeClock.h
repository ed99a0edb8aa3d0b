#pragma once

#include <vector>

#include "platform/Clock.h"

namespace kestrava::fakes {

class FakeClock : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() const override { return currentTime; }
    std::chrono::steady_clock::time_point monotonicNow() const override { return monotonicTime; }
    double secondsSinceMidnight() const override { return secondsAfterMidnight; }
    double seededRandomFraction(double seed) override {
        seeds.push_back(seed);
        return randomFraction;
    }

    std::chrono::system_clock::time_point currentTime{};
    std::chrono::steady_clock::time_point monotonicTime{};
    double secondsAfterMidnight = 12345.5;
    double randomFraction = 0.5;
    std::vector<double> seeds;
};

}  // namespace kestrava::fakes
