#include "cli/SizeText.h"

#include <array>
#include <utility>

namespace kestrava::cli {
namespace {

constexpr std::array<std::pair<std::string_view, double>, 5> Units{{
    {"Bytes", 1.0},
    {"KB", 1024.0},
    {"MB", 1024.0 * 1024},
    {"GB", 1024.0 * 1024 * 1024},
    {"TB", 1024.0 * 1024 * 1024 * 1024},
}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> BytesOfSizeText(std::string_view text) {
    const std::size_t space = text.rfind(' ');
    if (space == std::string_view::npos || space == 0) {
        return std::nullopt;
    }
    const std::string_view unit = text.substr(space + 1);
    double scale = 0;
    for (const auto& [name, bytes] : Units) {
        if (unit == name) {
            scale = bytes;
        }
    }
    if (scale == 0) {
        return std::nullopt;
    }
    // Digits, then at most one separator (whatever the locale wrote, one byte or several)
    // and one more run of digits.
    double whole = 0;
    double fraction = 0;
    double place = 1;
    bool separated = false;
    bool anyDigit = false;
    for (const char c : text.substr(0, space)) {
        if (IsDigit(c)) {
            anyDigit = true;
            if (separated) {
                place /= 10;
                fraction += (c - '0') * place;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else if (anyDigit && (!separated || place == 1)) {
            separated = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    return (whole + fraction) * scale;
}

}  // namespace kestrava::cli
