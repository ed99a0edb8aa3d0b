#pragma once

#include <cstddef>
#include <functional>

namespace kestrava::history {

// A machine's processors may be many more than its share of them: past a few, more
// threads only wait their turn.
inline constexpr std::size_t MostThreads = 8;

// Runs work(0, worker) to work(count - 1, worker) spread over as many threads as the
// machine has, at most `threads` (the calling thread among them), and returns once all
// are done. Each thread is a worker numbered from 0 (below `threads`), which works on one
// item at a time: what it keeps by its number is its own. What any of them throws is
// thrown here, once all are done.
void RunInParallel(std::size_t count,
                   const std::function<void(std::size_t item, std::size_t worker)>& work,
                   std::size_t threads = MostThreads);

}  // namespace kestrava::history
