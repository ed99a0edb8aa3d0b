#include "platform/win32/Win32Locale.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/GeneralDateText.h"
#include "fakes/FakeClock.h"
#include "platform/win32/Utf16.h"

namespace kestrava::platform {
namespace {

constexpr std::int64_t Dec7At031716 = 1796613436;  // 2026-12-07 03:17:16 UTC
constexpr std::int64_t Dec7Midnight = 1796601600;

SYSTEMTIME SystemTimeOf(std::int64_t utcSeconds) {
    const auto ticks = static_cast<std::uint64_t>(utcSeconds * 10000000 + 116444736000000000);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME system{};
    ::FileTimeToSystemTime(&time, &system);
    return system;
}

// The system's own general date: its short date, a space and its long time; the date
// alone at midnight.
std::string SystemGeneralDate(const wchar_t* locale, std::int64_t utcSeconds) {
    const SYSTEMTIME time = SystemTimeOf(utcSeconds);
    wchar_t date[128] = {};
    wchar_t clock[128] = {};
    ::GetDateFormatEx(locale, DATE_SHORTDATE, &time, nullptr, date, 128, nullptr);
    ::GetTimeFormatEx(locale, 0, &time, nullptr, clock, 128);
    const bool midnight = time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0;
    return FromUtf16(midnight ? std::wstring(date) : std::wstring(date) + L" " + clock);
}

std::vector<std::wstring> GregorianLocales() {
    std::vector<std::wstring> locales;
    ::EnumSystemLocalesEx(
        [](LPWSTR name, DWORD, LPARAM found) -> BOOL {
            DWORD calendar = 0;
            ::GetLocaleInfoEx(name, LOCALE_ICALENDARTYPE | LOCALE_RETURN_NUMBER,
                              reinterpret_cast<LPWSTR>(&calendar),
                              sizeof calendar / sizeof(wchar_t));
            // The invariant locale has no name; "" means the user's own here.
            if (name[0] != L'\0' && (calendar == CAL_GREGORIAN || calendar == CAL_GREGORIAN_US)) {
                reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(name);
            }
            return TRUE;
        },
        LOCALE_WINDOWS, reinterpret_cast<LPARAM>(&locales), nullptr);
    return locales;
}

// Around noon and midnight, both halves of the day, single and double digits.
std::vector<std::int64_t> Moments() {
    std::vector<std::int64_t> moments{Dec7At031716,
                                      Dec7Midnight,
                                      Dec7Midnight + 1,
                                      Dec7Midnight + 12 * 3600,
                                      Dec7At031716 + 13 * 3600,
                                      0};
    for (std::int64_t moment = 86399; moment < 2145916800; moment += 197'654'321) {
        moments.push_back(moment);
    }
    return moments;
}

TEST(Win32Locale, WritesTheGeneralDateOfEnglishUnitedStates) {
    const fakes::FakeClock utc;
    engine::GeneralDateText dates(Win32Locale("en-US").dateTimeNames(), utc);
    EXPECT_EQ(dates.text(Dec7At031716), "12/7/2026 3:17:16 AM");
    EXPECT_EQ(dates.text(Dec7At031716 + 12 * 3600), "12/7/2026 3:17:16 PM");
    EXPECT_EQ(dates.text(Dec7Midnight), "12/7/2026");
    EXPECT_EQ(Win32Locale("en-US").decimalSeparator(), ".");
    EXPECT_EQ(Win32Locale("de-DE").decimalSeparator(), ",");
}

TEST(Win32Locale, WritesDatesAsTheSystemDoesInEveryGregorianLocale) {
    const fakes::FakeClock utc;
    const auto locales = GregorianLocales();
    ASSERT_GT(locales.size(), 100u);
    for (const std::wstring& locale : locales) {
        engine::GeneralDateText dates(Win32Locale(FromUtf16(locale)).dateTimeNames(), utc);
        for (const std::int64_t moment : Moments()) {
            ASSERT_EQ(dates.text(moment), SystemGeneralDate(locale.c_str(), moment))
                << "locale " << FromUtf16(locale) << ", moment " << moment;
        }
    }
}

// prune reads entries' dates back with the names the window wrote them with.
TEST(Win32Locale, TheGeneralDateReadsBackInEveryGregorianLocale) {
    const fakes::FakeClock utc;
    engine::LocalCalendar calendar(utc);
    for (const std::wstring& locale : GregorianLocales()) {
        engine::GeneralDateText dates(Win32Locale(FromUtf16(locale)).dateTimeNames(), utc);
        for (const std::int64_t moment : Moments()) {
            const std::string text = dates.text(moment);
            const auto read = dates.read(text);
            ASSERT_TRUE(read) << "locale " << FromUtf16(locale) << ": " << text;
            ASSERT_EQ(calendar.utcSecondsOf(*read), moment)
                << "locale " << FromUtf16(locale) << ": " << text;
        }
    }
}

TEST(Win32Locale, TheUsersOwnLocaleIsTheSystemsDefault) {
    const fakes::FakeClock utc;
    engine::GeneralDateText dates(Win32Locale().dateTimeNames(), utc);
    EXPECT_EQ(dates.text(Dec7At031716), SystemGeneralDate(LOCALE_NAME_USER_DEFAULT, Dec7At031716));
    EXPECT_EQ(Win32Locale().codePage(), ::GetACP());
}

TEST(Win32Locale, WritesTextInTheAnsiCodePageAndReadsItBack) {
    const Win32Locale western("en-US", 1252);
    EXPECT_EQ(western.toSystemEncoding("C:\\Data\\plain.txt"), "C:\\Data\\plain.txt");
    EXPECT_EQ(western.toSystemEncoding("\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xce\xa9 \xe6\x97\xa5"),
              "\xe9t\xe9 \x80 ? ?");
    EXPECT_EQ(western.fromSystemEncoding("\xe9t\xe9 \x80"), "\xc3\xa9t\xc3\xa9 \xe2\x82\xac");
    EXPECT_EQ(western.fromSystemEncoding("plain\r\n"), "plain\r\n");

    const Win32Locale japanese("ja-JP", 932);
    EXPECT_EQ(japanese.toSystemEncoding("\xe6\x97\xa5"), "\x93\xfa");
    EXPECT_EQ(japanese.fromSystemEncoding("\x93\xfa"), "\xe6\x97\xa5");
}

}  // namespace
}  // namespace kestrava::platform
