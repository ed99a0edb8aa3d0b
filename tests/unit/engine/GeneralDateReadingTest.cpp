#include <gtest/gtest.h>

#include <QLocale>
#include <vector>

#include "engine/GeneralDateText.h"
#include "fakes/FakeClock.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtLocale.h"
#include "support/TimeZone.h"

namespace kestrava::engine {
namespace {

constexpr std::int64_t Dec7At031716Utc = 1796613436;  // 2026-12-07 03:17:16 UTC

GeneralDateText DatesOf(const QLocale& locale, const platform::Clock& clock) {
    return GeneralDateText(platform::QtLocale(locale).dateTimeNames(), clock);
}

void ExpectSameMoment(const LocalDateTime& read, const LocalDateTime& written) {
    EXPECT_EQ(read.year, written.year);
    EXPECT_EQ(read.month, written.month);
    EXPECT_EQ(read.day, written.day);
    EXPECT_EQ(read.dayOfWeek, written.dayOfWeek);
    EXPECT_EQ(read.hour, written.hour);
    EXPECT_EQ(read.minute, written.minute);
    EXPECT_EQ(read.second, written.second);
}

TEST(GeneralDateReading, ReadsBackTheDatesOfTheLocalesTheWindowWritesIn) {
    fakes::FakeClock utc;
    auto american = DatesOf(QLocale(QLocale::English, QLocale::UnitedStates), utc);
    auto german = DatesOf(QLocale(QLocale::German, QLocale::Germany), utc);
    auto c = DatesOf(QLocale::c(), utc);
    const auto afternoon = american.read("12/7/2026 3:17:16 PM");
    ASSERT_TRUE(afternoon);
    EXPECT_EQ(afternoon->hour, 15);
    EXPECT_EQ(afternoon->dayOfWeek, 1);
    const auto justAfterMidnight = american.read("12/7/2026 12:00:01 AM");
    ASSERT_TRUE(justAfterMidnight);
    EXPECT_EQ(justAfterMidnight->hour, 0);
    const auto noon = german.read("07.12.2026 12:00:00");
    ASSERT_TRUE(noon);
    EXPECT_EQ(noon->hour, 12);
    const auto midnight = c.read("7 Dec 2026");
    ASSERT_TRUE(midnight);
    EXPECT_EQ(midnight->day, 7);
    EXPECT_EQ(midnight->month, 12);
    EXPECT_TRUE(midnight->isMidnight());
}

TEST(GeneralDateReading, RefusesWhatNoDateOfTheLocaleIs) {
    fakes::FakeClock utc;
    auto american = DatesOf(QLocale(QLocale::English, QLocale::UnitedStates), utc);
    auto german = DatesOf(QLocale(QLocale::German, QLocale::Germany), utc);
    for (const char* text :
         {"", "12/7/2026 3:17:16", "2/30/2026", "13/7/2026", "12/7/26 3:17:16 AM",
          "12/7/2026 13:17:16 PM", "12/7/2026 3:17:16 AM trailing", "07.12.2026 03:17:16",
          "12/7/2026 3:60:00 AM", "2/29/2027"}) {
        EXPECT_FALSE(american.read(text)) << text;
    }
    EXPECT_FALSE(german.read("12/7/2026 3:17:16 AM"));
    EXPECT_FALSE(german.read("07.12.2026 24:00:00"));
    EXPECT_TRUE(american.read("2/29/2028"));
}

// Every text written, in every locale Qt knows and in a zone with daylight saving, reads
// back as the local time it was written for.
TEST(GeneralDateReading, ReadsBackWhatItWritesInEveryLocale) {
    const testing::TimeZone berlin("Europe/Berlin");
    const platform::SystemClock clock;
    LocalCalendar calendar(clock);
    std::vector<std::int64_t> moments{Dec7At031716Utc,   1774746000, 1792890000 - 1, 1792890000,
                                      1796601600 - 3600, 0,          -86400 * 400};
    for (std::int64_t moment = 86399; moment < 4102444800; moment += 123'456'789) {
        moments.push_back(moment);
    }
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        auto dates = DatesOf(locale, clock);
        for (const std::int64_t moment : moments) {
            const std::string text = dates.text(moment);
            const auto read = dates.read(text);
            ASSERT_TRUE(read) << locale.name().toStdString() << ": " << text;
            ExpectSameMoment(*read, calendar.at(moment));
        }
    }
}

TEST(LocalCalendar, TurnsLocalTimesBackIntoMomentsAcrossDaylightSaving) {
    const testing::TimeZone berlin("Europe/Berlin");
    const platform::SystemClock clock;
    LocalCalendar calendar(clock);
    // 2026-03-29 01:00 UTC the clocks go from 02:00 to 03:00; 2026-10-25 01:00 UTC from
    // 03:00 back to 02:00.
    for (std::int64_t moment = 1774746000 - 7300; moment < 1774746000 + 7300; moment += 599) {
        EXPECT_EQ(calendar.utcSecondsOf(calendar.at(moment)), moment);
    }
    const std::int64_t fallBack = 1792890000;
    EXPECT_EQ(calendar.utcSecondsOf(calendar.at(fallBack + 1800)), fallBack - 1800)
        << "a time shown twice gives the first";
    EXPECT_EQ(calendar.utcSecondsOf(calendar.at(fallBack + 3600)), fallBack + 3600);
    LocalDateTime skipped = calendar.at(1774746000);  // 03:00, just after the skip
    skipped.hour = 2;
    skipped.minute = 30;
    EXPECT_EQ(calendar.utcSecondsOf(skipped), 1774746000 + 1800);
    EXPECT_EQ(LocalCalendar::dayOfDate(1970, 1, 1), 0);
    for (std::int64_t day = -800'000; day < 800'000; day += 997) {
        const LocalDateTime date = LocalCalendar::dateOfDay(day);
        ASSERT_EQ(LocalCalendar::dayOfDate(date.year, date.month, date.day), day);
    }
}

}  // namespace
}  // namespace kestrava::engine
