#include "platform/posix/SystemClock.h"

#include <cstdint>
#include <ctime>

#include "platform/SeededRandom.h"

namespace kestrava::platform {

std::chrono::system_clock::time_point SystemClock::now() const {
    return std::chrono::system_clock::now();
}

std::chrono::steady_clock::time_point SystemClock::monotonicNow() const {
    return std::chrono::steady_clock::now();
}

double SystemClock::secondsSinceMidnight() const {
    using namespace std::chrono;
    const auto moment = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto fraction = duration<double>(moment - system_clock::from_time_t(seconds)).count();
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

// localtime_r, unlike localtime, doesn't look at the time-zone file again on every
// call (which costs a stat each time when TZ is unset).
std::int32_t SystemClock::utcOffsetAt(std::int64_t utcSeconds) const {
    const auto moment = static_cast<std::time_t>(utcSeconds);
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) {
        return 0;
    }
    return static_cast<std::int32_t>(local.tm_gmtoff);
}

double SystemClock::seededRandomFraction(double seed) {
    return SeededRandomFraction(seed);
}

}  // namespace kestrava::platform
