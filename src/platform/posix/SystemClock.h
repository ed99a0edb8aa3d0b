#pragma once

#include "platform/Clock.h"

namespace kestrava::platform {

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point now() const override;
    std::chrono::steady_clock::time_point monotonicNow() const override;
    double secondsSinceMidnight() const override;
    std::int32_t utcOffsetAt(std::int64_t utcSeconds) const override;
    double seededRandomFraction(double seed) override;
};

}  // namespace kestrava::platform
