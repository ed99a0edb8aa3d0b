#include "platform/PathRules.h"

namespace kestrava::platform {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "\\server\share", the root of a network share.
bool IsShareRoot(std::string_view path) {
    if (path.size() < 5 || !IsSeparator(path[0]) || !IsSeparator(path[1])) {
        return false;
    }
    const std::size_t shareStart = path.find_first_of("\\/", 2);
    if (shareStart == std::string_view::npos || shareStart == 2 || shareStart + 1 == path.size()) {
        return false;
    }
    return path.find_first_of("\\/", shareStart + 1) == std::string_view::npos;
}

}  // namespace

const char PathSeparator = '\\';
const std::string_view PathSeparators = "\\/";

// As the file systems Windows makes (NTFS, FAT) compare names.
const bool NamesIgnoreCase = true;

// MAX_PATH: its 260 characters count the terminating NUL.
const std::size_t PathLengthLimit = 260;

// In characters as the system counts them, UTF-16 code units: one per character of the
// basic plane, two for one beyond it (a four-byte UTF-8 sequence).
std::size_t PathLength(std::string_view path) {
    std::size_t length = 0;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            length += byte >= 0xF0 ? 2 : 1;
        }
    }
    return length;
}

bool IsRootPath(std::string_view path) {
    if (path.size() > 1 && IsSeparator(path.back()) && !IsSeparator(path[path.size() - 2])) {
        path.remove_suffix(1);
    }
    if (path.size() == 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        return true;
    }
    return path.size() == 1 ? IsSeparator(path[0]) : IsShareRoot(path);
}

// 260 characters end a loop of links within a few dozen levels, as they always have.
const bool WalksLinkedFolders = true;

}  // namespace kestrava::platform
