#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/LocalCalendar.h"
#include "history/EntryTime.h"

namespace kestrava::history {

// Why an entry is kept: the rules that keep it, as bits.
enum class KeepReason : std::uint16_t {
    Last = 1 << 0,
    Hourly = 1 << 1,
    Daily = 1 << 2,
    Weekly = 1 << 3,
    Monthly = 1 << 4,
    Yearly = 1 << 5,
    Within = 1 << 6,
    Newest = 1 << 7,
    Oldest = 1 << 8,
    UnreadableDate = 1 << 9,
};

class KeepReasons {
public:
    void add(KeepReason reason) { bits_ |= static_cast<std::uint16_t>(reason); }
    bool has(KeepReason reason) const { return (bits_ & static_cast<std::uint16_t>(reason)) != 0; }
    bool kept() const { return bits_ != 0; }

    // Their names ("newest", "last", "hourly", ..., "unreadable date"), in that order.
    std::vector<std::string_view> names() const;

    friend bool operator==(KeepReasons, KeepReasons) = default;

private:
    std::uint16_t bits_ = 0;
};

// How far back --keep-within reaches from the newest entry: calendar years, months and
// days of local time, then hours of real time.
struct KeepWithin {
    std::uint32_t years = 0;
    std::uint32_t months = 0;
    std::uint32_t days = 0;
    std::uint32_t hours = 0;
};

// Which entries a prune keeps. A count of 0 is a rule not given.
struct KeepPolicy {
    std::uint64_t last = 0;
    std::uint64_t hourly = 0;
    std::uint64_t daily = 0;
    std::uint64_t weekly = 0;
    std::uint64_t monthly = 0;
    std::uint64_t yearly = 0;
    std::optional<KeepWithin> within;

    bool hasRule() const {
        return last != 0 || hourly != 0 || daily != 0 || weekly != 0 || monthly != 0 ||
               yearly != 0 || within.has_value();
    }
};

// What a prune without any rule is told.
inline constexpr std::string_view NoKeepRule =
    "prune keeps what a rule names: give at least one of --keep-last, --keep-hourly, "
    "--keep-daily, --keep-weekly, --keep-monthly, --keep-yearly, --keep-within";

// Whether a command-line option ("--keep-daily") is one of the keep rules.
bool IsKeepOption(std::string_view option);

// Sets the rule of a keep option from its value: a whole number from 1 for the counts,
// a duration such as "7d", "2d12h" or "1y6m" for --keep-within (y years, m months,
// d days, h hours, each at most once). What is wrong with the value, naming it, or
// nothing. A rule given twice takes its last value.
std::optional<std::string> SetKeepRule(KeepPolicy& policy, std::string_view option,
                                       std::string_view value);

// Which entries the policy keeps, and why, of a history's entries oldest first (each
// with its time, or nothing where its date can't be read). Each count rule keeps the
// newest entry of each of the newest N calendar hours, days, ISO weeks (Monday to
// Sunday), months or years of local time that hold entries, and --keep-last the newest
// N entries; the rules add up. The newest and the oldest entry are always kept, and so
// is an entry whose date can't be read, which no rule counts. The calendar turns
// --keep-within's local time back into a moment.
std::vector<KeepReasons> DecideKeeps(const std::vector<std::optional<EntryTime>>& times,
                                     const KeepPolicy& policy, engine::LocalCalendar& calendar);

// An entry of a history with its date line's text, as the log holds it.
struct DatedEntry {
    std::int64_t number = 0;
    std::string date;
};

// The decision about one entry.
struct EntryVerdict {
    std::int64_t number = 0;
    std::string date;
    KeepReasons reasons;
};

// The entries (oldest first) judged by the policy, their dates read with the reader;
// `toProgramText` turns a date as the log holds it into the program's own encoding.
template <typename ToProgramText>
std::vector<EntryVerdict> JudgeEntries(const std::vector<DatedEntry>& entries,
                                       const KeepPolicy& policy, EntryTimeReader& reader,
                                       ToProgramText toProgramText) {
    std::vector<std::optional<EntryTime>> times;
    times.reserve(entries.size());
    for (const DatedEntry& entry : entries) {
        times.push_back(reader.read(toProgramText(entry.date)));
    }
    const std::vector<KeepReasons> reasons = DecideKeeps(times, policy, reader.calendar());
    std::vector<EntryVerdict> verdicts;
    verdicts.reserve(entries.size());
    for (std::size_t at = 0; at < entries.size(); ++at) {
        verdicts.push_back({entries[at].number, entries[at].date, reasons[at]});
    }
    return verdicts;
}

}  // namespace kestrava::history
