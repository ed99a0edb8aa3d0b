#include "history/ShapedText.h"

#include <algorithm>
#include <array>

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

// How long the text of the shape that begins at `at` is, and where its line feed lies.
bool MeasureShape(std::string_view shapes, std::size_t at, std::size_t& length, std::size_t& end) {
    length = 0;
    while (at < shapes.size() && shapes[at] != '\n') {
        const char c = shapes[at++];
        if (c == Escape && at < shapes.size()) {
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

// Writes the value as exactly `width` digits, zeros first, ending before `end`; false
// when it has more.
bool PutDigits(std::uint64_t value, std::size_t width, char* end) {
    char* const begin = end - width;
    do {
        if (end == begin) {
            return false;
        }
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
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
        if (c == Escape && at < end) {
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

}  // namespace kestrava::history
