#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestrava::platform {

// What dates are written with in the user's locale. Every text is in the locale's
// encoding. Patterns use the letters of Qt's date and time formats (d, M, yy, yyyy,
// h, H, m, s, AP, t, quoted text, ...).
struct DateTimeNames {
    struct DayPeriod {
        std::string asWritten;
        std::string upper;
        std::string lower;
    };

    std::string shortDatePattern;
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

// The user's locale: the texts that dates and numbers are written with, and its
// encoding, which is also the one file names are judged in.
class Locale {
public:
    virtual ~Locale() = default;

    virtual DateTimeNames dateTimeNames() const = 0;

    virtual std::string decimalSeparator() const = 0;

    // The characters (Unicode code points) of a text in the locale's encoding;
    // nothing when the bytes are not a valid text in it.
    virtual std::optional<std::u32string> decode(std::string_view text) const = 0;
};

}  // namespace kestrava::platform
