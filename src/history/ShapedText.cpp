#include "history/ShapedText.h"

#include <algorithm>

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

bool TakeShaped(std::string_view shapes, std::size_t& at, std::span<ByteReader> numbers,
                std::string& text) {
    text.clear();
    std::size_t run = 0;
    while (at < shapes.size() && shapes[at] != '\n') {
        const char c = shapes[at++];
        if (c == Escape && at < shapes.size()) {
            text += shapes[at++];
        } else if (c >= 1 && static_cast<std::size_t>(c) <= LongestRun) {
            ByteReader& column = numbers[std::min(run++, numbers.size() - 1)];
            const std::string digits = std::to_string(column.number());
            if (column.broken() || digits.size() > static_cast<std::size_t>(c)) {
                return false;
            }
            text.append(static_cast<std::size_t>(c) - digits.size(), '0');
            text += digits;
        } else {
            text += c;
        }
    }
    if (at >= shapes.size()) {
        return false;
    }
    ++at;
    return true;
}

}  // namespace kestrava::history
