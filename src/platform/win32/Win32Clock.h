#pragma once

#include <windows.h>

#include <vector>

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

private:
    // Reading a year's zone rules reads the registry, which costs more than all the rest
    // of a file's row, and a snapshot meets dozens of years thousands of times. The rules
    // are kept while the zone in force stays the same; which zone that is, is asked
    // again at most every second, so that a change of zone shows at once.
    struct YearRules {
        WORD year;
        TIME_ZONE_INFORMATION zone;
    };
    const TIME_ZONE_INFORMATION* rulesOf(WORD year) const;
    void forgetRulesIfTheZoneChanged() const;

    mutable std::vector<YearRules> rules_;
    mutable DYNAMIC_TIME_ZONE_INFORMATION zoneInForce_{};
    mutable std::chrono::steady_clock::time_point zoneAsked_{};
};

}  // namespace kestrava::platform
