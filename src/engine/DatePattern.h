#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/LocalCalendar.h"
#include "platform/Locale.h"

namespace kestrava::engine {

// A locale's date or time pattern, compiled once and then written out for many
// moments without going back to the locale. The letters mean what they mean in Qt's
// date and time formats (d dd ddd dddd, M MM MMM MMMM, yy yyyy, h hh H HH, m mm,
// s ss, z zzz, AP ap aP, t; text in single quotes as it stands, '' for a quote), so
// the text equals what QLocale writes for the same pattern.
class DatePattern {
public:
    // Which letters are fields; the others are text, as when Qt formats a date alone,
    // a time alone or both.
    enum class Fields { Date, Time, DateAndTime };

    // amPmSeen: whether the whole format holds an AM/PM marker, which makes "h" a
    // 12-hour field (Qt looks at the whole format, not only at this part of it).
    DatePattern(std::string_view pattern, Fields fields, bool amPmSeen);

    // True when the pattern holds an AM/PM marker outside quoted text.
    static bool HasAmPm(std::string_view pattern);

    // Leaves the time zone out, together with the brackets, spaces and comma that
    // only framed it: "h:mm:ss AP t", "HH:mm:ss (t)" and "t HH:mm:ss" lose it cleanly.
    void dropTimeZone();

    // This pattern followed by the text and then the other pattern.
    void append(std::string_view text, const DatePattern& other);

    void format(const LocalDateTime& time, const platform::DateTimeNames& names,
                std::string& out) const;

    // The moment that format writes as this text, when the whole text reads as one; a
    // pattern without time fields gives its midnight. Every text that format writes
    // reads back, weekday and all.
    std::optional<LocalDateTime> read(std::string_view text,
                                      const platform::DateTimeNames& names) const;

private:
    struct ReadFields;
    enum class Kind : std::uint8_t {
        Text,
        Year2,
        Year4,
        Month,
        Month2,
        MonthShort,
        MonthLong,
        Day,
        Day2,
        DayShort,
        DayLong,
        Hour,
        Hour2,
        Hour12,
        Hour12Padded,
        Minute,
        Minute2,
        Second,
        Second2,
        AmPmUpper,
        AmPmLower,
        AmPmAsWritten,
        Millisecond,
        Millisecond3,
        TimeZone,
    };

    struct Token {
        Kind kind;
        std::string text;  // Text only
    };

    void addText(std::string_view text);
    void add(Kind kind) { tokens_.push_back({kind, {}}); }
    void mergeText();
    bool readFrom(std::size_t token, std::string_view text, const platform::DateTimeNames& names,
                  ReadFields& fields) const;

    std::vector<Token> tokens_;
};

}  // namespace kestrava::engine
