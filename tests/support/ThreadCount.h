#pragma once

#include <cstddef>
#include <filesystem>
#include <iterator>

namespace kestrava::testing {

// How many threads the test process runs now.
inline std::size_t ThreadCount() {
    const std::filesystem::directory_iterator threads("/proc/self/task");
    return static_cast<std::size_t>(std::distance(begin(threads), end(threads)));
}

}  // namespace kestrava::testing
