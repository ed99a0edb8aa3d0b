#pragma once

#include <cstdint>
#include <string_view>

namespace kestrava::core {

// A stored number as a 16-bit integer: spaces around it are allowed, a fraction is
// rounded half to even. Throws RuntimeError 13 (type mismatch) for text that is not
// a number and 6 (overflow) for one outside -32768 to 32767.
std::int16_t ToInt16(std::string_view text);

}  // namespace kestrava::core
