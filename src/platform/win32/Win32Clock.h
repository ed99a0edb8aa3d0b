#pragma once

#include "platform/Clock.h"

namespace kestrava::platform {

// The system's clock and time zone. A moment's offset from UTC is the one the zone's
// rules of that moment's year give for its season (as Explorer shows file times), not
// the offset of today.
class Win32Clock : public Clock {
public:
    std::chrono::system_clock::time_point now() const override;
    std::chrono::steady_clock::time_point monotonicNow() const override;
    double secondsSinceMidnight() const override;
    std::int32_t utcOffsetAt(std::int64_t utcSeconds) const override;
    double seededRandomFraction(double seed) override;
};

}  // namespace kestrava::platform
