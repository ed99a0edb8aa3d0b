#include "history/ShapedText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kestrava::history {
namespace {

constexpr char Escape = 11;
constexpr std::size_t LongestRun = 9;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool NeedsEscape(char c) {
    return c >= 1 && c <= Escape && c != '\n';
}

}  // namespace

void PutShaped(std::string_view text, std::string& shapes, std::span<std::string> numbers) {
    std::size_t run = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (!IsDigit(text[at])) {
            if (NeedsEscape(text[at])) {
                shapes += Escape;
            }
            shapes += text[at++];
            continue;
        }
        std::uint64_t value = 0;
        const std::size_t start = at;
        while (at < text.size() && at - start < LongestRun && IsDigit(text[at])) {
            value = value * 10 + static_cast<std::uint64_t>(text[at++] - '0');
        }
        shapes += static_cast<char>(at - start);
        PutNumber(numbers[std::min(run++, numbers.size() - 1)], value);
    }
    shapes += '\n';
}

namespace {

// How long the text of the shape that begins at `at` is, and where its line feed lies;
// false when there is none, or an escape stands before a byte that is never escaped
// (a line feed escaped would put one inside a line).
bool MeasureShape(std::string_view shapes, std::size_t at, std::size_t& length, std::size_t& end) {
    length = 0;
    while (at < shapes.size() && shapes[at] != '\n') {
        const char c = shapes[at++];
        if (c == Escape) {
            if (at == shapes.size() || !NeedsEscape(shapes[at])) {
                return false;
            }
            ++at;
            ++length;
        } else if (c >= 1 && static_cast<std::size_t>(c) <= LongestRun) {
            length += static_cast<std::size_t>(c);
        } else {
            ++length;
        }
    }
    end = at;
    return at < shapes.size();
}

// "00" to "99": a number's digits are written two at a time, which halves the divisions
// that rebuilding a store's dates and sizes spends most of its time on.
constexpr std::array<char, 200> DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t pair = 0; pair < 100; ++pair) {
        pairs[2 * pair] = static_cast<char>('0' + pair / 10);
        pairs[2 * pair + 1] = static_cast<char>('0' + pair % 10);
    }
    return pairs;
}();

// Writes the value as exactly `width` digits, zeros first, ending before `end`; false
// when it has more. Inline: it is called for every number of every line of a store.
inline bool PutDigits(std::uint64_t value, std::size_t width, char* end) {
    // A date's months, days, hours, minutes and seconds: one or two digits.
    if (value < 100 && width <= 2) {
        if (width == 2) {
            std::memcpy(end - 2, &DigitPairs[value * 2], 2);
            return true;
        }
        end[-1] = static_cast<char>('0' + value);
        return value < 10;
    }
    char* const begin = end - width;
    while (value >= 10) {
        if (end - begin < 2) {
            return false;
        }
        end -= 2;
        std::memcpy(end, &DigitPairs[value % 100 * 2], 2);
        value /= 100;
    }
    if (value != 0 || end == begin + width) {
        if (end == begin) {
            return false;
        }
        *--end = static_cast<char>('0' + value);
    }
    std::fill(begin, end, '0');
    return true;
}

}  // namespace

bool TakeShaped(std::string_view shapes, std::size_t& at, std::span<ByteReader> numbers,
                std::string& text) {
    // Measured first, then written in place: a line's texts are rebuilt by the ten
    // thousand, and appending them byte by byte cost more than all the rest.
    std::size_t length = 0;
    std::size_t end = 0;
    if (!MeasureShape(shapes, at, length, end)) {
        at = shapes.size();
        return false;
    }
    text.resize(length);
    char* out = text.data();
    std::size_t run = 0;
    while (at < end) {
        const char c = shapes[at++];
        if (c == Escape) {
            *out++ = shapes[at++];
        } else if (c >= 1 && static_cast<std::size_t>(c) <= LongestRun) {
            ByteReader& column = numbers[std::min(run++, numbers.size() - 1)];
            const auto width = static_cast<std::size_t>(c);
            if (!PutDigits(column.number(), width, out + width) || column.broken()) {
                return false;
            }
            out += width;
        } else {
            *out++ = c;
        }
    }
    ++at;
    return true;
}

std::optional<ShapeTemplate> ShapeTemplate::Read(std::string_view shapes, std::size_t& at) {
    std::size_t length = 0;
    std::size_t end = 0;
    if (!MeasureShape(shapes, at, length, end)) {
        return std::nullopt;
    }
    ShapeTemplate shape;
    shape.text_.reserve(length);
    while (at < end) {
        const char c = shapes[at++];
        if (c == Escape) {
            shape.text_ += shapes[at++];
        } else if (c >= 1 && static_cast<std::size_t>(c) <= LongestRun) {
            const auto width = static_cast<std::size_t>(c);
            shape.text_.append(width, '0');
            shape.runs_.push_back({static_cast<std::uint32_t>(shape.text_.size()),
                                   static_cast<std::uint32_t>(width)});
        } else {
            shape.text_ += c;
        }
    }
    ++at;
    return shape;
}

bool ShapeTemplate::fill(std::span<ByteReader> numbers, char* out) const {
    std::memcpy(out, text_.data(), text_.size());
    const std::size_t lastColumn = numbers.size() - 1;
    bool fits = true;
    for (std::size_t run = 0; run < runs_.size(); ++run) {
        ByteReader& column = numbers[run < lastColumn ? run : lastColumn];
        fits = PutDigits(column.number(), runs_[run].width, out + runs_[run].end) && fits;
    }
    return fits;
}

}  // namespace kestrava::history
