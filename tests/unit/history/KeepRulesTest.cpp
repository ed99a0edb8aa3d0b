#include "history/KeepRules.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "engine/GeneralDateText.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtLocale.h"
#include "support/TimeZone.h"

namespace kestrava::history {
namespace {

using Names = std::vector<std::string_view>;

TEST(KeepOptions, ReadCountsAndDurationsAndNameWhatIsWrong) {
    KeepPolicy policy;
    EXPECT_FALSE(policy.hasRule());
    EXPECT_TRUE(IsKeepOption("--keep-weekly"));
    EXPECT_TRUE(IsKeepOption("--keep-within"));
    EXPECT_FALSE(IsKeepOption("--keep"));
    EXPECT_FALSE(SetKeepRule(policy, "--keep-daily", "30"));
    EXPECT_EQ(policy.daily, 30u);
    EXPECT_TRUE(policy.hasRule());
    EXPECT_FALSE(SetKeepRule(policy, "--keep-within", "1y2m3d4h"));
    ASSERT_TRUE(policy.within);
    EXPECT_EQ(policy.within->years, 1u);
    EXPECT_EQ(policy.within->months, 2u);
    EXPECT_EQ(policy.within->days, 3u);
    EXPECT_EQ(policy.within->hours, 4u);
    EXPECT_FALSE(SetKeepRule(policy, "--keep-within", "12h2d"));
    EXPECT_EQ(policy.within->days, 2u);
    EXPECT_EQ(policy.within->months, 0u);
    for (const char* count : {"", "0", "-1", "+3", "3x", "1.5", " 3", "99999999999999999999"}) {
        const auto mistake = SetKeepRule(policy, "--keep-hourly", count);
        ASSERT_TRUE(mistake) << count;
        EXPECT_NE(mistake->find("--keep-hourly"), std::string::npos);
        EXPECT_NE(mistake->find(std::string("\"") + count + "\""), std::string::npos);
    }
    for (const char* duration : {"", "7", "d", "7w", "7d7d", "-7d", "7 d", "30min", "1y2"}) {
        const auto mistake = SetKeepRule(policy, "--keep-within", duration);
        ASSERT_TRUE(mistake) << duration;
        EXPECT_NE(mistake->find(std::string("\"") + duration + "\""), std::string::npos);
    }
    EXPECT_EQ(policy.hourly, 0u) << "a value refused leaves the rule as it was";
}

std::string Bucket(std::int64_t moment, const char* format);

// A date line can't tell which of the two hours that a clock set back shows twice it
// was written in: it reads as the first.
std::int64_t FirstShowing(std::int64_t moment) {
    const bool shownBefore = Bucket(moment - 3600, "%F %T") == Bucket(moment, "%F %T");
    return shownBefore ? moment - 3600 : moment;
}

// Entries written and read back by the window's own date code, in the process's zone.
class History {
public:
    explicit History(const QLocale& locale)
        : names_(platform::QtLocale(locale).dateTimeNames()),
          writer_(names_, clock_),
          reader_(names_, clock_) {}

    // The dates as the log holds them; "" stands for one that can't be read.
    std::vector<KeepReasons> decide(const std::vector<std::int64_t>& moments,
                                    const std::vector<bool>& readable, const KeepPolicy& policy) {
        std::vector<std::optional<EntryTime>> times;
        for (std::size_t at = 0; at < moments.size(); ++at) {
            const std::string text = readable[at] ? writer_.text(moments[at]) : "no date at all";
            times.push_back(reader_.read(text));
            EXPECT_EQ(times.back().has_value(), readable[at]) << text;
            if (times.back()) {
                EXPECT_EQ(times.back()->utcSeconds, FirstShowing(moments[at])) << text;
            }
        }
        return DecideKeeps(times, policy, reader_.calendar());
    }

private:
    platform::SystemClock clock_;
    platform::DateTimeNames names_;
    engine::GeneralDateText writer_;
    EntryTimeReader reader_;
};

// The model: buckets named by the C library's own calendar (strftime's ISO week among
// them), and each rule as what it says, tried entry by entry.
std::string Bucket(std::int64_t moment, const char* format) {
    const auto seconds = static_cast<std::time_t>(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

// The first moment from which the clock shows the newest entry's wall-clock time on the
// day `days` before, or nothing when it never shows it there.
std::optional<std::int64_t> DaysBefore(std::int64_t newest, std::uint32_t days) {
    const std::string wanted =
        Bucket(newest - std::int64_t{days} * 86400, "%Y-%m-%d") + Bucket(newest, " %H:%M:%S");
    for (std::int64_t hours = -2; hours <= 2; ++hours) {
        const std::int64_t candidate = newest - std::int64_t{days} * 86400 + hours * 3600;
        if (Bucket(candidate, "%Y-%m-%d %H:%M:%S") == wanted) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::vector<KeepReasons> Model(const std::vector<std::int64_t>& moments,
                               const std::vector<bool>& readable, const KeepPolicy& policy,
                               bool& withinModelled) {
    const std::size_t count = moments.size();
    std::vector<KeepReasons> reasons(count);
    const std::pair<KeepReason, std::pair<std::uint64_t, const char*>> rules[] = {
        {KeepReason::Hourly, {policy.hourly, "%Y-%m-%d %H"}},
        {KeepReason::Daily, {policy.daily, "%Y-%m-%d"}},
        {KeepReason::Weekly, {policy.weekly, "%G-W%V"}},
        {KeepReason::Monthly, {policy.monthly, "%Y-%m"}},
        {KeepReason::Yearly, {policy.yearly, "%Y"}},
    };
    std::optional<std::int64_t> withinStart;
    withinModelled = true;
    for (std::size_t at = count; at-- > 0;) {
        if (readable[at] && policy.within) {
            withinStart = DaysBefore(FirstShowing(moments[at]), policy.within->days);
            withinModelled = withinStart.has_value();
            if (withinStart) {
                *withinStart -= std::int64_t{policy.within->hours} * 3600;
            }
            break;
        }
    }
    for (std::size_t at = 0; at < count; ++at) {
        if (at + 1 == count) {
            reasons[at].add(KeepReason::Newest);
        }
        if (at == 0) {
            reasons[at].add(KeepReason::Oldest);
        }
        if (count - at <= policy.last) {
            reasons[at].add(KeepReason::Last);
        }
        if (!readable[at]) {
            reasons[at].add(KeepReason::UnreadableDate);
            continue;
        }
        for (const auto& [reason, rule] : rules) {
            const std::string mine = Bucket(moments[at], rule.second);
            bool newestOfItsBucket = true;
            std::vector<std::string> newerBuckets{mine};
            for (std::size_t later = at + 1; later < count; ++later) {
                if (!readable[later]) {
                    continue;
                }
                const std::string theirs = Bucket(moments[later], rule.second);
                newestOfItsBucket = newestOfItsBucket && theirs != mine;
                if (std::find(newerBuckets.begin(), newerBuckets.end(), theirs) ==
                    newerBuckets.end()) {
                    newerBuckets.push_back(theirs);
                }
            }
            if (newestOfItsBucket && newerBuckets.size() <= rule.first) {
                reasons[at].add(reason);
            }
        }
        if (withinStart && FirstShowing(moments[at]) >= *withinStart) {
            reasons[at].add(KeepReason::Within);
        }
    }
    return reasons;
}

struct Span {
    const char* zone;
    std::int64_t start;
    std::int64_t end;
    std::int64_t longestStep;  // seconds between two entries, at most
};

void ExpectTheModelsDecisions(const Span& span, const QLocale& locale, std::uint32_t seed) {
    const testing::TimeZone zone(span.zone);
    std::mt19937 random(seed);
    const auto below = [&](std::int64_t bound) {
        return std::uniform_int_distribution<std::int64_t>(0, bound - 1)(random);
    };
    History history(locale);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::int64_t> moments;
        std::vector<bool> readable;
        for (std::int64_t moment = span.start; moment < span.end;
             moment += 1 + below(span.longestStep)) {
            moments.push_back(moment);
            readable.push_back(below(25) != 0);
        }
        KeepPolicy policy;
        for (auto* count : {&policy.last, &policy.hourly, &policy.daily, &policy.weekly,
                            &policy.monthly, &policy.yearly}) {
            *count = below(3) == 0 ? 0 : static_cast<std::uint64_t>(below(8));
        }
        if (below(2) == 0) {
            policy.within = KeepWithin{0, 0, static_cast<std::uint32_t>(below(4)),
                                       static_cast<std::uint32_t>(below(30))};
        }
        bool withinModelled = true;
        const auto expected = Model(moments, readable, policy, withinModelled);
        const auto decided = history.decide(moments, readable, policy);
        ASSERT_EQ(decided.size(), expected.size());
        for (std::size_t at = 0; at < decided.size(); ++at) {
            KeepReasons found = decided[at];
            if (!withinModelled) {
                continue;
            }
            ASSERT_EQ(found.names(), expected[at].names())
                << span.zone << ", seed " << seed << ", round " << round << ", entry " << at + 1
                << " of " << decided.size() << ": " << Bucket(moments[at], "%F %T %Z");
        }
    }
}

TEST(KeepRules, KeepWhatASimpleModelKeepsAcrossTheAutumnChangeInBerlin) {
    // 2026-10-25 01:00 UTC: 03:00 becomes 02:00 again.
    ExpectTheModelsDecisions({"Europe/Berlin", 1792890000 - 2 * 86400, 1792890000 + 86400, 3000},
                             QLocale(QLocale::German, QLocale::Germany), 1);
}

TEST(KeepRules, KeepWhatASimpleModelKeepsAcrossTheSpringChangeInNewYork) {
    // 2026-03-08 07:00 UTC: 02:00 becomes 03:00.
    ExpectTheModelsDecisions({"America/New_York", 1772953200 - 86400, 1772953200 + 2 * 86400, 2400},
                             QLocale(QLocale::English, QLocale::UnitedStates), 2);
}

TEST(KeepRules, KeepWhatASimpleModelKeepsOverYearsAndAcrossAYearsEnd) {
    // 2026-12-31 and 2027-01-01 lie in one ISO week, 2026's 53rd.
    ExpectTheModelsDecisions(
        {"Europe/Berlin", 1798156800 - 12 * 86400, 1798156800 + 12 * 86400, 5 * 3600}, QLocale::c(),
        3);
    ExpectTheModelsDecisions({"Europe/Berlin", 1735689600, 1735689600 + 3 * 365 * 86400, 9 * 86400},
                             QLocale(QLocale::English, QLocale::UnitedStates), 4);
}

TEST(KeepRules, AWeekRunsFromMondayAcrossTheYearsEnd) {
    const testing::TimeZone zone("UTC");
    History history(QLocale(QLocale::English, QLocale::UnitedStates));
    // Sun 2026-12-27, Mon 2026-12-28, Thu 2026-12-31, Sun 2027-01-03, Mon 2027-01-04.
    const std::vector<std::int64_t> moments{1798372800, 1798459200, 1798718400, 1798934400,
                                            1799020800};
    KeepPolicy policy;
    policy.weekly = 2;
    const auto reasons = history.decide(moments, std::vector<bool>(5, true), policy);
    EXPECT_EQ(reasons[0].names(), (Names{"oldest"}));
    EXPECT_EQ(reasons[1].names(), Names{});
    EXPECT_EQ(reasons[2].names(), Names{});
    EXPECT_EQ(reasons[3].names(), (Names{"weekly"}));
    EXPECT_EQ(reasons[4].names(), (Names{"newest", "weekly"}));
}

TEST(KeepRules, KeepTheEntriesWhoseDatesCantBeReadAndCountNoBucketForThem) {
    const testing::TimeZone zone("UTC");
    History history(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::int64_t day = 86400;
    const std::int64_t dec7 = 1796601600 + 12 * 3600;
    KeepPolicy policy;
    policy.daily = 1;
    const auto reasons = history.decide({dec7, dec7 + day, dec7 + 2 * day, dec7 + 3 * day},
                                        {true, true, true, false}, policy);
    EXPECT_EQ(reasons[0].names(), (Names{"oldest"}));
    EXPECT_FALSE(reasons[1].kept());
    EXPECT_EQ(reasons[2].names(), (Names{"daily"})) << "the newest day with a readable date";
    EXPECT_EQ(reasons[3].names(), (Names{"newest", "unreadable date"}));
}

TEST(KeepRules, KeepWithinCountsCalendarMonthsBackFromTheNewestEntry) {
    const testing::TimeZone zone("Europe/Berlin");
    History history(QLocale(QLocale::German, QLocale::Germany));
    // 2026-03-31 12:00 local is the newest; a month back is 2026-02-28 12:00 local.
    const std::int64_t feb28Noon = 1772276400;
    const std::int64_t mar31Noon = 1774951200;
    KeepPolicy policy;
    policy.within = KeepWithin{0, 1, 0, 0};
    const auto reasons = history.decide({feb28Noon - 3600, feb28Noon - 1, feb28Noon, mar31Noon},
                                        std::vector<bool>(4, true), policy);
    EXPECT_EQ(reasons[0].names(), (Names{"oldest"}));
    EXPECT_FALSE(reasons[1].kept());
    EXPECT_EQ(reasons[2].names(), (Names{"within"}));
    EXPECT_EQ(reasons[3].names(), (Names{"newest", "within"}));
}

TEST(KeepRules, StandForABucketByPlaceInTheHistoryNotByTime) {
    const testing::TimeZone zone("UTC");
    History history(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::int64_t noon = 1796601600 + 12 * 3600;
    KeepPolicy policy;
    policy.hourly = 1;
    policy.last = 1;
    // The clock was set back between the second and the third entry.
    const auto reasons = history.decide({noon - 7200, noon + 600, noon + 60, noon + 120},
                                        {true, true, true, true}, policy);
    EXPECT_EQ(reasons[0].names(), (Names{"oldest"}));
    EXPECT_FALSE(reasons[1].kept());
    EXPECT_FALSE(reasons[2].kept());
    EXPECT_EQ(reasons[3].names(), (Names{"newest", "last", "hourly"}));
}

}  // namespace
}  // namespace kestrava::history
