#include "engine/DatePattern.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace kestrava::engine {
namespace {

std::size_t RepeatCount(std::string_view pattern, std::size_t at) {
    std::size_t end = at + 1;
    while (end < pattern.size() && pattern[end] == pattern[at]) {
        ++end;
    }
    return end - at;
}

// Text in quotes, from the opening quote at `at`: '' stands for one quote, inside
// and outside quoted text; a quote left open runs to the end.
std::string ReadQuoted(std::string_view pattern, std::size_t& at) {
    ++at;
    if (at == pattern.size()) {
        return {};
    }
    if (pattern[at] == '\'') {
        ++at;
        return "'";
    }
    std::string text;
    while (at < pattern.size()) {
        if (pattern[at] == '\'') {
            if (at + 1 < pattern.size() && pattern[at + 1] == '\'') {
                text += '\'';
                at += 2;
                continue;
            }
            break;
        }
        text += pattern[at++];
    }
    if (at < pattern.size()) {
        ++at;
    }
    return text;
}

bool IsFramingSpace(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

// Numbers in the locale's digits. The width counts a minus sign as one place.
void AppendNumber(std::int64_t value, std::size_t width, const platform::DateTimeNames& names,
                  std::string& out) {
    std::array<char, 24> ascii{};
    std::size_t length = 0;
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        ascii[length++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        out += names.negativeSign;
        width = width > 0 ? width - 1 : 0;
    }
    for (std::size_t pad = length; pad < width; ++pad) {
        ascii[length++] = '0';
    }
    const bool asciiDigits = names.digits[0].size() == 1 && names.digits[0][0] == '0';
    while (length > 0) {
        const char digit = ascii[--length];
        if (asciiDigits) {
            out += digit;
        } else {
            out += names.digits[static_cast<std::size_t>(digit - '0')];
        }
    }
}

}  // namespace

bool DatePattern::HasAmPm(std::string_view pattern) {
    for (std::size_t at = 0; at < pattern.size();) {
        if (pattern[at] == '\'') {
            ReadQuoted(pattern, at);
            continue;
        }
        if (pattern[at] == 'a' || pattern[at] == 'A') {
            return true;
        }
        ++at;
    }
    return false;
}

DatePattern::DatePattern(std::string_view pattern, Fields fields, bool amPmSeen) {
    const bool dateFields = fields != Fields::Time;
    const bool timeFields = fields != Fields::Date;
    for (std::size_t at = 0; at < pattern.size();) {
        const char letter = pattern[at];
        if (letter == '\'') {
            addText(ReadQuoted(pattern, at));
            continue;
        }
        std::size_t repeat = RepeatCount(pattern, at);
        bool used = false;
        if (dateFields) {
            used = true;
            switch (letter) {
                case 'y':
                    if (repeat >= 4) {
                        repeat = 4;
                        add(Kind::Year4);
                    } else if (repeat >= 2) {
                        repeat = 2;
                        add(Kind::Year2);
                    } else {
                        addText("y");
                    }
                    break;
                case 'M':
                    repeat = std::min<std::size_t>(repeat, 4);
                    add(std::array{Kind::Month, Kind::Month2, Kind::MonthShort,
                                   Kind::MonthLong}[repeat - 1]);
                    break;
                case 'd':
                    repeat = std::min<std::size_t>(repeat, 4);
                    add(std::array{Kind::Day, Kind::Day2, Kind::DayShort,
                                   Kind::DayLong}[repeat - 1]);
                    break;
                default:
                    used = false;
            }
        }
        if (!used && timeFields) {
            used = true;
            const char following = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
            switch (letter) {
                case 'h':
                    repeat = std::min<std::size_t>(repeat, 2);
                    if (amPmSeen) {
                        add(repeat == 1 ? Kind::Hour12 : Kind::Hour12Padded);
                    } else {
                        add(repeat == 1 ? Kind::Hour : Kind::Hour2);
                    }
                    break;
                case 'H':
                    repeat = std::min<std::size_t>(repeat, 2);
                    add(repeat == 1 ? Kind::Hour : Kind::Hour2);
                    break;
                case 'm':
                    repeat = std::min<std::size_t>(repeat, 2);
                    add(repeat == 1 ? Kind::Minute : Kind::Minute2);
                    break;
                case 's':
                    repeat = std::min<std::size_t>(repeat, 2);
                    add(repeat == 1 ? Kind::Second : Kind::Second2);
                    break;
                case 'a':  // "a", "ap": lower case; "aP": as the locale writes it
                    repeat = following == 'p' || following == 'P' ? 2 : 1;
                    add(following == 'P' ? Kind::AmPmAsWritten : Kind::AmPmLower);
                    break;
                case 'A':  // "A", "AP": upper case; "Ap": as the locale writes it
                    repeat = following == 'p' || following == 'P' ? 2 : 1;
                    add(following == 'p' ? Kind::AmPmAsWritten : Kind::AmPmUpper);
                    break;
                case 'z':
                    repeat = repeat >= 3 ? 3 : 1;
                    add(repeat == 3 ? Kind::Millisecond3 : Kind::Millisecond);
                    break;
                case 't':
                    repeat = 1;
                    add(Kind::TimeZone);
                    break;
                default:
                    used = false;
            }
        }
        if (!used) {
            addText(pattern.substr(at, repeat));
        }
        at += repeat;
    }
}

void DatePattern::addText(std::string_view text) {
    if (!tokens_.empty() && tokens_.back().kind == Kind::Text) {
        tokens_.back().text += text;
    } else {
        tokens_.push_back({Kind::Text, std::string(text)});
    }
}

void DatePattern::mergeText() {
    std::vector<Token> merged;
    for (Token& token : tokens_) {
        if (token.kind == Kind::Text && token.text.empty()) {
            continue;
        }
        if (token.kind == Kind::Text && !merged.empty() && merged.back().kind == Kind::Text) {
            merged.back().text += token.text;
        } else {
            merged.push_back(std::move(token));
        }
    }
    tokens_ = std::move(merged);
}

void DatePattern::dropTimeZone() {
    bool dropped = false;
    for (std::size_t at = 0; at < tokens_.size();) {
        if (tokens_[at].kind != Kind::TimeZone) {
            ++at;
            continue;
        }
        Token* before = at > 0 && tokens_[at - 1].kind == Kind::Text ? &tokens_[at - 1] : nullptr;
        Token* after = at + 1 < tokens_.size() && tokens_[at + 1].kind == Kind::Text
                           ? &tokens_[at + 1]
                           : nullptr;
        if (before != nullptr && after != nullptr && !before->text.empty() &&
            !after->text.empty() &&
            ((before->text.back() == '(' && after->text.front() == ')') ||
             (before->text.back() == '[' && after->text.front() == ']'))) {
            before->text.pop_back();
            after->text.erase(0, 1);
        }
        tokens_.erase(tokens_.begin() + static_cast<std::ptrdiff_t>(at));
        dropped = true;
    }
    if (!dropped) {
        return;
    }
    mergeText();
    if (!tokens_.empty() && tokens_.front().kind == Kind::Text) {
        std::string& text = tokens_.front().text;
        text.erase(0, text.find_first_not_of(" \t"));
    }
    if (!tokens_.empty() && tokens_.back().kind == Kind::Text) {
        std::string& text = tokens_.back().text;
        while (!text.empty() && IsFramingSpace(text.back())) {
            text.pop_back();
        }
    }
    mergeText();
}

void DatePattern::append(std::string_view text, const DatePattern& other) {
    addText(text);
    for (const Token& token : other.tokens_) {
        if (token.kind == Kind::Text) {
            addText(token.text);
        } else {
            tokens_.push_back(token);
        }
    }
}

void DatePattern::format(const LocalDateTime& time, const platform::DateTimeNames& names,
                         std::string& out) const {
    const bool morning = time.hour < 12;
    const auto& period = morning ? names.am : names.pm;
    for (const Token& token : tokens_) {
        switch (token.kind) {
            case Kind::Text:
                out += token.text;
                break;
            case Kind::Year2:
                AppendNumber(time.year % 100, 2, names, out);
                break;
            case Kind::Year4:
                AppendNumber(time.year, time.year < 0 ? 5 : 4, names, out);
                break;
            case Kind::Month:
                AppendNumber(time.month, 0, names, out);
                break;
            case Kind::Month2:
                AppendNumber(time.month, 2, names, out);
                break;
            case Kind::MonthShort:
                out += names.shortMonthNames[static_cast<std::size_t>(time.month - 1)];
                break;
            case Kind::MonthLong:
                out += names.longMonthNames[static_cast<std::size_t>(time.month - 1)];
                break;
            case Kind::Day:
                AppendNumber(time.day, 0, names, out);
                break;
            case Kind::Day2:
                AppendNumber(time.day, 2, names, out);
                break;
            case Kind::DayShort:
                out += names.shortDayNames[static_cast<std::size_t>(time.dayOfWeek - 1)];
                break;
            case Kind::DayLong:
                out += names.longDayNames[static_cast<std::size_t>(time.dayOfWeek - 1)];
                break;
            case Kind::Hour:
                AppendNumber(time.hour, 0, names, out);
                break;
            case Kind::Hour2:
                AppendNumber(time.hour, 2, names, out);
                break;
            case Kind::Hour12:
            case Kind::Hour12Padded: {
                const int hour = time.hour > 12 ? time.hour - 12 : time.hour == 0 ? 12 : time.hour;
                AppendNumber(hour, token.kind == Kind::Hour12 ? 0 : 2, names, out);
                break;
            }
            case Kind::Minute:
                AppendNumber(time.minute, 0, names, out);
                break;
            case Kind::Minute2:
                AppendNumber(time.minute, 2, names, out);
                break;
            case Kind::Second:
                AppendNumber(time.second, 0, names, out);
                break;
            case Kind::Second2:
                AppendNumber(time.second, 2, names, out);
                break;
            case Kind::AmPmUpper:
                out += period.upper;
                break;
            case Kind::AmPmLower:
                out += period.lower;
                break;
            case Kind::AmPmAsWritten:
                out += period.asWritten;
                break;
            case Kind::Millisecond:  // file times are whole seconds
                AppendNumber(0, 0, names, out);
                break;
            case Kind::Millisecond3:
                AppendNumber(0, 3, names, out);
                break;
            case Kind::TimeZone:
                break;
        }
    }
}

}  // namespace kestrava::engine

namespace kestrava::engine {

// What a text has told of its moment so far.
struct DatePattern::ReadFields {
    std::int64_t year = 1970;
    int month = 1;
    int day = 1;
    int dayOfWeek = 0;  // none read
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hour12 = 0;      // none read
    int afternoon = -1;  // none read
};

namespace {

// The digit the text begins with, in the locale's digits, and its length.
std::optional<std::pair<int, std::size_t>> LeadingDigit(std::string_view text,
                                                        const platform::DateTimeNames& names) {
    for (int digit = 0; digit < 10; ++digit) {
        const std::string& written = names.digits[static_cast<std::size_t>(digit)];
        if (!written.empty() && text.starts_with(written)) {
            return std::pair{digit, written.size()};
        }
    }
    return std::nullopt;
}

// The numbers the text can begin with, of least to most digits, each with the length of
// its text: as many as a field of that width could have written.
struct NumberPrefix {
    std::int64_t value;
    std::size_t length;
};

std::vector<NumberPrefix> LeadingNumbers(std::string_view text, std::size_t fewestDigits,
                                         std::size_t mostDigits,
                                         const platform::DateTimeNames& names) {
    std::vector<NumberPrefix> numbers;
    std::int64_t value = 0;
    std::size_t length = 0;
    for (std::size_t digits = 1; digits <= mostDigits; ++digits) {
        const auto digit = LeadingDigit(text.substr(length), names);
        if (!digit) {
            break;
        }
        value = value * 10 + digit->first;
        length += digit->second;
        if (digits >= fewestDigits) {
            numbers.push_back({value, length});
        }
    }
    return numbers;
}

int TwelveHourClock(int hour12, bool afternoon) {
    return hour12 % 12 + (afternoon ? 12 : 0);
}

}  // namespace

std::optional<LocalDateTime> DatePattern::read(std::string_view text,
                                               const platform::DateTimeNames& names) const {
    ReadFields fields;
    if (!readFrom(0, text, names, fields)) {
        return std::nullopt;
    }
    LocalDateTime time =
        LocalCalendar::dateOfDay(LocalCalendar::dayOfDate(fields.year, fields.month, fields.day));
    time.hour = fields.hour;
    time.minute = fields.minute;
    time.second = fields.second;
    return time;
}

// Tries every way the rest of the text can fill the tokens from `token` on: a number
// written without padding can run into what follows it, so each length it can have is
// tried in turn.
bool DatePattern::readFrom(std::size_t token, std::string_view text,
                           const platform::DateTimeNames& names, ReadFields& fields) const {
    if (token == tokens_.size()) {
        if (!text.empty() || fields.month < 1 || fields.month > 12 || fields.day < 1 ||
            fields.day > LocalCalendar::daysInMonth(fields.year, fields.month)) {
            return false;
        }
        if (fields.hour12 != 0) {
            fields.hour = TwelveHourClock(fields.hour12, fields.afternoon == 1);
        }
        if (fields.dayOfWeek != 0) {
            const LocalDateTime date = LocalCalendar::dateOfDay(
                LocalCalendar::dayOfDate(fields.year, fields.month, fields.day));
            return date.dayOfWeek == fields.dayOfWeek;
        }
        return true;
    }
    const Token& current = tokens_[token];
    const auto next = [&](std::size_t length) {
        ReadFields tried = fields;
        if (!readFrom(token + 1, text.substr(length), names, tried)) {
            return false;
        }
        fields = tried;
        return true;
    };
    // A number field: every value it can begin with, within bounds, stored by `store`.
    const auto number = [&](std::size_t fewest, std::size_t most, std::int64_t lowest,
                            std::int64_t highest, auto store) {
        for (const NumberPrefix& prefix : LeadingNumbers(text, fewest, most, names)) {
            if (prefix.value < lowest || prefix.value > highest) {
                continue;
            }
            const ReadFields before = fields;
            store(prefix.value);
            if (next(prefix.length)) {
                return true;
            }
            fields = before;
        }
        return false;
    };
    // A name field: every name of the list the text begins with.
    const auto name = [&](const auto& list, auto store) {
        for (std::size_t index = 0; index < list.size(); ++index) {
            if (list[index].empty() || !text.starts_with(list[index])) {
                continue;
            }
            const ReadFields before = fields;
            store(static_cast<int>(index) + 1);
            if (next(list[index].size())) {
                return true;
            }
            fields = before;
        }
        return false;
    };
    const auto period = [&](auto member) {
        const std::array<std::string, 2> texts{names.am.*member, names.pm.*member};
        return name(texts, [&](int which) { fields.afternoon = which - 1; });
    };
    switch (current.kind) {
        case Kind::Text:
            return text.starts_with(current.text) && next(current.text.size());
        case Kind::Year2:
            return number(2, 2, 0, 99, [&](std::int64_t v) { fields.year = 1900 + v; });
        case Kind::Year4: {
            const bool negative =
                !names.negativeSign.empty() && text.starts_with(names.negativeSign);
            const std::size_t sign = negative ? names.negativeSign.size() : 0;
            const std::string_view digits = text.substr(sign);
            for (const NumberPrefix& prefix : LeadingNumbers(digits, 4, 18, names)) {
                const ReadFields before = fields;
                fields.year = negative ? -prefix.value : prefix.value;
                if (next(sign + prefix.length)) {
                    return true;
                }
                fields = before;
            }
            return false;
        }
        case Kind::Month:
        case Kind::Month2:
            return number(current.kind == Kind::Month ? 1 : 2, 2, 1, 12,
                          [&](std::int64_t v) { fields.month = static_cast<int>(v); });
        case Kind::MonthShort:
            return name(names.shortMonthNames, [&](int month) { fields.month = month; });
        case Kind::MonthLong:
            return name(names.longMonthNames, [&](int month) { fields.month = month; });
        case Kind::Day:
        case Kind::Day2:
            return number(current.kind == Kind::Day ? 1 : 2, 2, 1, 31,
                          [&](std::int64_t v) { fields.day = static_cast<int>(v); });
        case Kind::DayShort:
            return name(names.shortDayNames, [&](int day) { fields.dayOfWeek = day; });
        case Kind::DayLong:
            return name(names.longDayNames, [&](int day) { fields.dayOfWeek = day; });
        case Kind::Hour:
        case Kind::Hour2:
            return number(current.kind == Kind::Hour ? 1 : 2, 2, 0, 23,
                          [&](std::int64_t v) { fields.hour = static_cast<int>(v); });
        case Kind::Hour12:
        case Kind::Hour12Padded:
            return number(current.kind == Kind::Hour12 ? 1 : 2, 2, 1, 12,
                          [&](std::int64_t v) { fields.hour12 = static_cast<int>(v); });
        case Kind::Minute:
        case Kind::Minute2:
            return number(current.kind == Kind::Minute ? 1 : 2, 2, 0, 59,
                          [&](std::int64_t v) { fields.minute = static_cast<int>(v); });
        case Kind::Second:
        case Kind::Second2:
            return number(current.kind == Kind::Second ? 1 : 2, 2, 0, 59,
                          [&](std::int64_t v) { fields.second = static_cast<int>(v); });
        case Kind::AmPmUpper:
            return period(&platform::DateTimeNames::DayPeriod::upper);
        case Kind::AmPmLower:
            return period(&platform::DateTimeNames::DayPeriod::lower);
        case Kind::AmPmAsWritten:
            return period(&platform::DateTimeNames::DayPeriod::asWritten);
        case Kind::Millisecond:
        case Kind::Millisecond3:
            return number(current.kind == Kind::Millisecond ? 1 : 3, 3, 0, 999,
                          [](std::int64_t) {});
        case Kind::TimeZone:
            return next(0);
    }
    return false;
}

}  // namespace kestrava::engine
