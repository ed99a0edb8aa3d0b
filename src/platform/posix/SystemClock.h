#pragma once

#include "platform/Clock.h"

namespace kestrava::platform {

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point now() const override;
    std::chrono::steady_clock::time_point monotonicNow() const override;
    double secondsSinceMidnight() const override;
    double seededRandomFraction(double seed) override;
};

}  // namespace kestrava::platform
