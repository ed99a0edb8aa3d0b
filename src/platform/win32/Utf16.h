#pragma once

#include <string>
#include <string_view>

namespace kestrava::platform {

// The program's own text is UTF-8; Win32's wide-character calls take UTF-16. Bytes that
// are no valid UTF-8 become U+FFFD, as does a lone surrogate on the way back.
std::wstring ToUtf16(std::string_view text);
std::string FromUtf16(std::wstring_view text);

// Whether every byte is plain ASCII, which reads the same in every encoding the
// program meets.
bool IsAscii(std::string_view bytes);

}  // namespace kestrava::platform
