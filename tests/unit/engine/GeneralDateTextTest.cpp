#include "engine/GeneralDateText.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <vector>

#include "fakes/FakeClock.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtText.h"
#include "support/TimeZone.h"

namespace kestrava::engine {
namespace {

constexpr std::int64_t Dec7At031716Utc = 1796613436;  // 2026-12-07 03:17:16 UTC
constexpr std::int64_t Dec7MidnightUtc = 1796601600;

GeneralDateText DatesOf(const QLocale& locale, const platform::Clock& clock) {
    return GeneralDateText(platform::QtLocale(locale).dateTimeNames(), clock);
}

TEST(GeneralDateText, WritesTheShortDateWithAFourDigitYearAndTheLongTimeWithoutZone) {
    fakes::FakeClock utc;
    auto american = DatesOf(QLocale(QLocale::English, QLocale::UnitedStates), utc);
    auto german = DatesOf(QLocale(QLocale::German, QLocale::Germany), utc);
    EXPECT_EQ(american.text(Dec7At031716Utc), "12/7/2026 3:17:16 AM");
    EXPECT_EQ(german.text(Dec7At031716Utc), "07.12.2026 03:17:16");
    EXPECT_EQ(american.text(Dec7At031716Utc + 12 * 3600), "12/7/2026 3:17:16 PM");
    EXPECT_EQ(american.text(Dec7MidnightUtc + 12 * 3600), "12/7/2026 12:00:00 PM");
    EXPECT_EQ(american.text(Dec7MidnightUtc + 1), "12/7/2026 12:00:01 AM");
}

TEST(GeneralDateText, ShowsTheDateAloneAtExactlyMidnight) {
    fakes::FakeClock utc;
    auto american = DatesOf(QLocale(QLocale::English, QLocale::UnitedStates), utc);
    auto c = DatesOf(QLocale::c(), utc);
    EXPECT_EQ(american.text(Dec7MidnightUtc), "12/7/2026");
    EXPECT_EQ(c.text(Dec7MidnightUtc), "7 Dec 2026");
    EXPECT_EQ(c.text(Dec7At031716Utc), "7 Dec 2026 03:17:16");
    EXPECT_EQ(american.text(0), "1/1/1970");
}

TEST(GeneralDateText, TakesTheLocalTimeFromTheClocksOffset) {
    fakes::FakeClock berlinWinter;
    berlinWinter.utcOffset = 3600;
    auto german = DatesOf(QLocale(QLocale::German, QLocale::Germany), berlinWinter);
    EXPECT_EQ(german.text(Dec7At031716Utc), "07.12.2026 04:17:16");
    EXPECT_EQ(german.text(Dec7MidnightUtc - 3600), "07.12.2026");
}

// The reference: QLocale itself, given the general pattern built the plain way.
QString GeneralPattern(const QLocale& locale, bool midnight) {
    QString date = locale.dateFormat(QLocale::ShortFormat);
    date.replace(QRegularExpression(QStringLiteral("(?<!y)yy(?!y)")), QStringLiteral("yyyy"));
    if (midnight) {
        return date;
    }
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("[,\\s]*[\\(\\[]?\\bt\\b[\\)\\]]?")));
    return date + QLatin1Char(' ') + time.trimmed();
}

std::string QtText(const QLocale& locale, std::int64_t moment) {
    const QDateTime time = QDateTime::fromSecsSinceEpoch(moment);
    const bool midnight = time.time() == QTime(0, 0);
    return platform::FromQString(midnight
                                     ? locale.toString(time.date(), GeneralPattern(locale, true))
                                     : locale.toString(time, GeneralPattern(locale, false)));
}

// Moments around the 2026 daylight-saving changes of Berlin and New York, local
// midnights next to them, and a spread over 1970 to 2037 (before and after that Qt's
// own local time leaves daylight saving out, so it is no reference there).
std::vector<std::int64_t> Moments() {
    std::vector<std::int64_t> moments;
    for (const std::int64_t change : {1774746000LL, 1792890000LL, 1772953200LL, 1793512800LL}) {
        for (const std::int64_t delta : {-3601LL, -1LL, 0LL, 1LL, 3599LL, 7200LL}) {
            moments.push_back(change + delta);
        }
    }
    for (const std::int64_t midnight : {1774738800LL, 1774821600LL, 1792879200LL, 1792969200LL}) {
        moments.push_back(midnight);
    }
    for (std::int64_t moment = 86399; moment < 2145916800; moment += 97'654'321) {
        moments.push_back(moment);
    }
    return moments;
}

void ExpectSameAsQt(const char* zone, const QList<QLocale>& locales) {
    const testing::TimeZone timeZone(zone);
    const platform::SystemClock clock;
    const auto moments = Moments();
    for (const QLocale& locale : locales) {
        auto dates = DatesOf(locale, clock);
        for (const std::int64_t moment : moments) {
            ASSERT_EQ(dates.text(moment), QtText(locale, moment))
                << "locale " << locale.name().toStdString() << ", zone " << zone << ", moment "
                << moment;
        }
    }
}

TEST(GeneralDateText, WritesWhatQLocaleWritesForChosenLocalesAndZones) {
    const QList<QLocale> chosen{
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale::c(),                                   // month names in its short date
        QLocale(QLocale::French, QLocale::France),      // 24 hours
        QLocale(QLocale::Korean, QLocale::SouthKorea),  // AM/PM first
        QLocale(QLocale::Arabic, QLocale::Egypt),       // own digits
        QLocale(QLocale::Spanish, QLocale::Spain),      // "(t)"
        QLocale(QLocale::Chinese, QLocale::China),      // "t" first
    };
    ExpectSameAsQt("Europe/Berlin", chosen);
    ExpectSameAsQt("America/New_York", chosen);
    ExpectSameAsQt("UTC", chosen);
}

TEST(GeneralDateText, WritesWhatQLocaleWritesForEveryLocaleQtKnows) {
    ExpectSameAsQt(
        "Europe/Berlin",
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory));
}

}  // namespace
}  // namespace kestrava::engine
