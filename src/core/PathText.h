#pragma once

#include <string>

namespace kestrava::core {

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

inline bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && path.back() == PathSeparator;
}

// The path with one separator at its end, added only when it has none.
inline std::string WithTrailingSeparator(std::string path) {
    if (!EndsWithSeparator(path)) {
        path += PathSeparator;
    }
    return path;
}

}  // namespace kestrava::core
