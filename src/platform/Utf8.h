#pragma once

#include <cstddef>
#include <string_view>

namespace kestrava::platform {

// The length of the valid UTF-8 character at the start of the text; 0 when there is
// none: no overlong forms, no surrogates, nothing beyond U+10FFFF.
std::size_t Utf8CharacterLength(std::string_view text);

}  // namespace kestrava::platform
