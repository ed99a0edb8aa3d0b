#include "engine/DatePattern.h"

#include <algorithm>
#include <array>

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
