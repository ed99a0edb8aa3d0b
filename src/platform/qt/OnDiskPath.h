#pragma once

#include <QString>
#include <string>

namespace kestrava::platform {

// The path, as the file system holds it, of a folder that Qt names. Qt reads a name
// that is not valid text in the system's encoding with U+FFFD in place of its odd
// bytes, so such a path names nothing; each of its parts that names nothing is looked
// for among its folder's entries, by the text Qt makes of their names. A part that
// can't be found is kept as Qt gave it.
std::string OnDiskPath(const QString& path);

}  // namespace kestrava::platform
