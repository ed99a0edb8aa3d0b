#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kestrava::platform {

// The program's own strings hold text in the system's encoding (UTF-8 here), the bytes
// that file names have on disk, and a name may hold bytes that are no valid character
// at all. These two cross into and out of Qt's strings without losing any byte: such a
// byte travels as a lone surrogate, U+DC80 plus the byte, which no valid text holds,
// and comes back as that byte. So a folder box or a settings value keeps a name whole.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);

// Whether the bytes are valid UTF-8 text.
bool IsValidText(std::string_view text);

}  // namespace kestrava::platform
