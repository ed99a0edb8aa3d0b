#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kestrava::platform {

// What dates are written with in the user's locale. Every text is in the program's own
// encoding. Patterns use the letters of Qt's date and time formats (d, M, yy, yyyy,
// h, H, m, s, AP, t, quoted text, ...), whatever the platform's own letters are.
struct DateTimeNames {
    struct DayPeriod {
        std::string asWritten;
        std::string upper;
        std::string lower;
    };

    std::string shortDatePattern;  // as the general date format writes the short date
    std::string longTimePattern;
    std::array<std::string, 12> shortMonthNames;  // January first
    std::array<std::string, 12> longMonthNames;
    std::array<std::string, 7> shortDayNames;  // Monday first
    std::array<std::string, 7> longDayNames;
    DayPeriod am;
    DayPeriod pm;
    std::array<std::string, 10> digits;  // 0 to 9 as the locale writes them
    std::string negativeSign;
};

// The user's locale: the texts that dates and numbers are written with, and the
// system's encoding, in which the history log is written.
class Locale {
public:
    virtual ~Locale() = default;

    virtual DateTimeNames dateTimeNames() const = 0;

    virtual std::string decimalSeparator() const = 0;

    // The program's own text in the system's encoding, as the history log is written:
    // a character that the encoding can't hold becomes "?".
    virtual std::string toSystemEncoding(std::string_view text) const = 0;

    // Text in the system's encoding, as the history log holds it, as the program's own.
    // (Taken whole: a log can be large, and where nothing needs converting it is kept.)
    virtual std::string fromSystemEncoding(std::string bytes) const = 0;
};

}  // namespace kestrava::platform
