#include "history/KeepRules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <set>

namespace kestrava::history {
namespace {

using engine::LocalCalendar;
using engine::LocalDateTime;

constexpr std::array<std::pair<KeepReason, std::string_view>, 10> ReasonNames{{
    {KeepReason::Newest, "newest"},
    {KeepReason::Oldest, "oldest"},
    {KeepReason::Last, "last"},
    {KeepReason::Hourly, "hourly"},
    {KeepReason::Daily, "daily"},
    {KeepReason::Weekly, "weekly"},
    {KeepReason::Monthly, "monthly"},
    {KeepReason::Yearly, "yearly"},
    {KeepReason::Within, "within"},
    {KeepReason::UnreadableDate, "unreadable date"},
}};

struct CountOption {
    std::string_view option;
    std::uint64_t KeepPolicy::*count;
};

constexpr std::array<CountOption, 6> CountOptions{{
    {"--keep-last", &KeepPolicy::last},
    {"--keep-hourly", &KeepPolicy::hourly},
    {"--keep-daily", &KeepPolicy::daily},
    {"--keep-weekly", &KeepPolicy::weekly},
    {"--keep-monthly", &KeepPolicy::monthly},
    {"--keep-yearly", &KeepPolicy::yearly},
}};

constexpr std::string_view WithinOption = "--keep-within";

// A whole number of decimal digits alone, without sign or spaces.
template <typename Number>
std::optional<Number> WholeNumber(std::string_view text) {
    Number number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || text.front() == '-' || text.front() == '+' || error != std::errc{} ||
        stop != end) {
        return std::nullopt;
    }
    return number;
}

std::optional<KeepWithin> ReadDuration(std::string_view text) {
    KeepWithin within;
    std::string seen;
    while (!text.empty()) {
        const std::size_t unitAt = text.find_first_not_of("0123456789");
        if (unitAt == 0 || unitAt == std::string_view::npos ||
            seen.find(text[unitAt]) != seen.npos) {
            return std::nullopt;
        }
        const auto number = WholeNumber<std::uint32_t>(text.substr(0, unitAt));
        if (!number) {
            return std::nullopt;
        }
        switch (text[unitAt]) {
            case 'y':
                within.years = *number;
                break;
            case 'm':
                within.months = *number;
                break;
            case 'd':
                within.days = *number;
                break;
            case 'h':
                within.hours = *number;
                break;
            default:
                return std::nullopt;
        }
        seen += text[unitAt];
        text.remove_prefix(unitAt + 1);
    }
    if (seen.empty()) {
        return std::nullopt;
    }
    return within;
}

// The calendar buckets of the count rules, as numbers that only entries of the same
// bucket share.
std::int64_t DayOf(const LocalDateTime& time) {
    return LocalCalendar::dayOfDate(time.year, time.month, time.day);
}

struct BucketRule {
    KeepReason reason;
    std::uint64_t KeepPolicy::*count;
    std::int64_t (*bucket)(const LocalDateTime&);
};

constexpr std::array<BucketRule, 5> BucketRules{{
    {KeepReason::Hourly, &KeepPolicy::hourly,
     [](const LocalDateTime& time) { return DayOf(time) * 24 + time.hour; }},
    {KeepReason::Daily, &KeepPolicy::daily, [](const LocalDateTime& time) { return DayOf(time); }},
    // An ISO week by its Monday.
    {KeepReason::Weekly, &KeepPolicy::weekly,
     [](const LocalDateTime& time) { return DayOf(time) - (time.dayOfWeek - 1); }},
    {KeepReason::Monthly, &KeepPolicy::monthly,
     [](const LocalDateTime& time) { return time.year * 12 + (time.month - 1); }},
    {KeepReason::Yearly, &KeepPolicy::yearly, [](const LocalDateTime& time) { return time.year; }},
}};

// The moment --keep-within reaches back to from the newest entry's time: years and
// months first (a day the month lacks becomes its last), then days, in local time; then
// hours of real time.
std::int64_t WithinStart(const EntryTime& newest, const KeepWithin& within,
                         LocalCalendar& calendar) {
    const std::int64_t months = newest.local.year * 12 + (newest.local.month - 1) -
                                (std::int64_t{within.years} * 12 + within.months);
    const std::int64_t year = months >= 0 ? months / 12 : (months - 11) / 12;
    const int month = static_cast<int>(months - year * 12) + 1;
    const int day = std::min(newest.local.day, LocalCalendar::daysInMonth(year, month));
    LocalDateTime start =
        LocalCalendar::dateOfDay(LocalCalendar::dayOfDate(year, month, day) - within.days);
    start.hour = newest.local.hour;
    start.minute = newest.local.minute;
    start.second = newest.local.second;
    return calendar.utcSecondsOf(start) - std::int64_t{within.hours} * 3600;
}

}  // namespace

std::vector<std::string_view> KeepReasons::names() const {
    std::vector<std::string_view> found;
    for (const auto& [reason, name] : ReasonNames) {
        if (has(reason)) {
            found.push_back(name);
        }
    }
    return found;
}

bool IsKeepOption(std::string_view option) {
    return option == WithinOption ||
           std::any_of(CountOptions.begin(), CountOptions.end(),
                       [&](const CountOption& count) { return count.option == option; });
}

std::optional<std::string> SetKeepRule(KeepPolicy& policy, std::string_view option,
                                       std::string_view value) {
    if (option == WithinOption) {
        const auto within = ReadDuration(value);
        if (!within) {
            return std::string(option) + " takes a duration such as 7d, 2d12h or 1y6m (y years, " +
                   "m months, d days, h hours), not \"" + std::string(value) + "\"";
        }
        policy.within = within;
        return std::nullopt;
    }
    for (const CountOption& count : CountOptions) {
        if (count.option != option) {
            continue;
        }
        const auto number = WholeNumber<std::uint64_t>(value);
        if (!number || *number == 0) {
            return std::string(option) + " takes a whole number from 1, not \"" +
                   std::string(value) + "\"";
        }
        policy.*count.count = *number;
        return std::nullopt;
    }
    return "unknown option " + std::string(option);
}

// Entries are judged newest first, by their place in the history rather than by their
// time: a clock set back must not make an older entry stand for a bucket.
std::vector<KeepReasons> DecideKeeps(const std::vector<std::optional<EntryTime>>& times,
                                     const KeepPolicy& policy, LocalCalendar& calendar) {
    std::vector<KeepReasons> reasons(times.size());
    if (times.empty()) {
        return reasons;
    }
    reasons.back().add(KeepReason::Newest);
    reasons.front().add(KeepReason::Oldest);
    const std::optional<EntryTime>* newestReadable = nullptr;
    for (std::size_t at = times.size(); at-- > 0;) {
        if (!times[at]) {
            reasons[at].add(KeepReason::UnreadableDate);
        } else if (newestReadable == nullptr) {
            newestReadable = &times[at];
        }
    }
    for (std::size_t at = times.size(), kept = 0; at-- > 0 && kept < policy.last; ++kept) {
        reasons[at].add(KeepReason::Last);
    }
    for (const BucketRule& rule : BucketRules) {
        const std::uint64_t wanted = policy.*rule.count;
        std::set<std::int64_t> buckets;
        for (std::size_t at = times.size(); at-- > 0 && buckets.size() < wanted;) {
            if (times[at] && buckets.insert(rule.bucket(times[at]->local)).second) {
                reasons[at].add(rule.reason);
            }
        }
    }
    if (policy.within && newestReadable != nullptr) {
        const std::int64_t start = WithinStart(**newestReadable, *policy.within, calendar);
        for (std::size_t at = 0; at < times.size(); ++at) {
            if (times[at] && times[at]->utcSeconds >= start) {
                reasons[at].add(KeepReason::Within);
            }
        }
    }
    return reasons;
}

}  // namespace kestrava::history
