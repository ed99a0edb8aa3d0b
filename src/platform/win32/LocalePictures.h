#pragma once

#include <string>
#include <string_view>

namespace kestrava::platform {

enum class PictureKind { Date, Time };

// A date or time picture of the system's locale data (LOCALE_SSHORTDATE's letters d M y
// g, or LOCALE_STIMEFORMAT's h H m s t, with 'quoted text') in the pattern letters the
// program writes dates with (Qt's). Every other character is text, and is quoted where
// it is a letter that the pattern would read as a field. era is the text for "g".
//
// Windows writes "t" as the marker's first character and "h" without a marker in 12
// hours; the pattern letters have neither, so "t" writes the whole marker and "h"
// counts 12 hours only beside a marker. "y" (the year of the century without a
// leading zero) becomes a two-digit year. No locale's own pictures use these.
std::wstring PatternOfPicture(std::wstring_view picture, PictureKind kind, std::wstring_view era);

}  // namespace kestrava::platform
