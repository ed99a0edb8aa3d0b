#pragma once

#include <string>

#include "platform/PathRules.h"

namespace kestrava::core {

using platform::PathSeparator;

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
