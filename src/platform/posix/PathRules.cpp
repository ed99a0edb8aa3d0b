#include "platform/PathRules.h"

#include <climits>

namespace kestrava::platform {

const char PathSeparator = '/';
const std::string_view PathSeparators = "/";

const bool NamesIgnoreCase = false;

// PATH_MAX counts the terminating NUL, in bytes.
const std::size_t PathLengthLimit = PATH_MAX;

std::size_t PathLength(std::string_view path) {
    return path.size();
}

bool IsRootPath(std::string_view path) {
    return !path.empty() && path.find_first_not_of('/') == std::string_view::npos;
}

// 4096 bytes of path hold a thousand levels of a link loop.
const bool WalksLinkedFolders = false;

}  // namespace kestrava::platform
