#include "core/Conversions.h"

#include <charconv>
#include <cmath>

#include "platform/RuntimeError.h"

namespace kestrava::core {

std::int16_t ToInt16(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string_view::npos) {
        throw platform::RuntimeError(platform::error_number::TypeMismatch);
    }
    std::string_view number = text.substr(first, last - first + 1);
    if (number.starts_with('+')) {
        number.remove_prefix(1);  // from_chars takes a minus sign only
    }
    double value = 0;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (status != std::errc{} || end != number.data() + number.size() || !std::isfinite(value)) {
        throw platform::RuntimeError(platform::error_number::TypeMismatch);
    }
    const double rounded = std::nearbyint(value);  // the default rounding: half to even
    if (rounded < INT16_MIN || rounded > INT16_MAX) {
        throw platform::RuntimeError(platform::error_number::Overflow);
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace kestrava::core
