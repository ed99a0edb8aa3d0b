#pragma once

#include <cstddef>
#include <functional>

namespace kestrava::history {

// A machine's processors may be many more than its share of them: past a few, more
// threads only wait their turn.
inline constexpr std::size_t MostThreads = 8;

// Runs work(0) to work(count - 1) spread over as many threads as the machine has, at most
// `threads` (the calling thread among them), and returns once all are done. What any of
// them throws is thrown here, once all are done.
void RunInParallel(std::size_t count, const std::function<void(std::size_t)>& work,
                   std::size_t threads = MostThreads);

}  // namespace kestrava::history
