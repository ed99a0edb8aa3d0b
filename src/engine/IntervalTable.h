#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kestrava::engine {

struct Interval {
    std::string_view caption;
    std::int32_t seconds;
};

// The twelve choices of the interval list, in its order: the row number is the stored
// "OftenIndex", and the caption names the seconds.
inline constexpr std::array<Interval, 12> Intervals{{
    {"Log every 1 second", 1},
    {"Log every 5 seconds", 5},
    {"Log every 10 seconds", 10},
    {"Log every 30 seconds", 30},
    {"Log every 1 minute", 60},
    {"Log every 5 minutes", 300},
    {"Log every 10 minutes", 600},
    {"Log every 30 minutes", 1800},
    {"Log every 1 hour", 3600},
    {"Log every 6 hours", 21600},
    {"Log every 12 hours", 43200},
    {"Log every 24 hours", 86400},
}};

}  // namespace kestrava::engine
