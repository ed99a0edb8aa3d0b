#include "platform/win32/Win32Clock.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <iterator>

#include "platform/SeededRandom.h"

namespace kestrava::platform {
namespace {

constexpr std::int64_t TicksBefore1970 = 116444736000000000;  // 100 ns since 1601
constexpr std::int64_t TicksPerSecond = 10000000;

std::int64_t TicksOf(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

bool SameZone(const DYNAMIC_TIME_ZONE_INFORMATION& one,
              const DYNAMIC_TIME_ZONE_INFORMATION& other) {
    const auto sameDate = [](const SYSTEMTIME& a, const SYSTEMTIME& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    };
    return one.Bias == other.Bias && one.StandardBias == other.StandardBias &&
           one.DaylightBias == other.DaylightBias &&
           sameDate(one.StandardDate, other.StandardDate) &&
           sameDate(one.DaylightDate, other.DaylightDate) &&
           one.DynamicDaylightTimeDisabled == other.DynamicDaylightTimeDisabled &&
           std::wcsncmp(one.TimeZoneKeyName, other.TimeZoneKeyName,
                        std::size(one.TimeZoneKeyName)) == 0;
}

}  // namespace

std::chrono::system_clock::time_point Win32Clock::now() const {
    return std::chrono::system_clock::now();
}

std::chrono::steady_clock::time_point Win32Clock::monotonicNow() const {
    return std::chrono::steady_clock::now();
}

double Win32Clock::secondsSinceMidnight() const {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond +
           local.wMilliseconds / 1000.0;
}

std::int32_t Win32Clock::utcOffsetAt(std::int64_t utcSeconds) const {
    // FILETIME reaches from 1601 to 30827; beyond it no zone can tell.
    constexpr std::int64_t Earliest = -TicksBefore1970 / TicksPerSecond;
    constexpr std::int64_t Latest = 910692730085LL;  // 30827-12-31 23:59:59 UTC
    if (utcSeconds < Earliest || utcSeconds > Latest) {
        return 0;
    }
    const auto ticks = static_cast<std::uint64_t>(utcSeconds * TicksPerSecond + TicksBefore1970);
    const FILETIME utcTime{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FILETIME localTime{};
    // The zone's rules of that year, then that moment's side of their change of offset.
    if (!::FileTimeToSystemTime(&utcTime, &utc)) {
        return 0;
    }
    const TIME_ZONE_INFORMATION* zone = rulesOf(utc.wYear);
    if (zone == nullptr || !::SystemTimeToTzSpecificLocalTime(zone, &utc, &local) ||
        !::SystemTimeToFileTime(&local, &localTime)) {
        return 0;
    }
    return static_cast<std::int32_t>((TicksOf(localTime) - TicksOf(utcTime)) / TicksPerSecond);
}

// The user's own zone (a null zone asked for) as its rules stood in that year.
const TIME_ZONE_INFORMATION* Win32Clock::rulesOf(WORD year) const {
    forgetRulesIfTheZoneChanged();
    for (const YearRules& rules : rules_) {
        if (rules.year == year) {
            return &rules.zone;
        }
    }
    YearRules rules{year, {}};
    if (!::GetTimeZoneInformationForYear(year, nullptr, &rules.zone)) {
        return nullptr;
    }
    rules_.push_back(rules);
    return &rules_.back().zone;
}

void Win32Clock::forgetRulesIfTheZoneChanged() const {
    const auto now = std::chrono::steady_clock::now();
    if (!rules_.empty() && now - zoneAsked_ < std::chrono::seconds(1)) {
        return;
    }
    zoneAsked_ = now;
    DYNAMIC_TIME_ZONE_INFORMATION current{};
    if (::GetDynamicTimeZoneInformation(&current) == TIME_ZONE_ID_INVALID) {
        rules_.clear();
        return;
    }
    if (!SameZone(current, zoneInForce_)) {
        rules_.clear();
        zoneInForce_ = current;
    }
}

double Win32Clock::seededRandomFraction(double seed) {
    return SeededRandomFraction(seed);
}

}  // namespace kestrava::platform
