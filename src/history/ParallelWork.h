#pragma once

#include <cstddef>
#include <functional>

namespace kestrava::history {

// Runs work(0) to work(count - 1) spread over as many threads as the machine has (eight
// at most), and returns once all are done. What any of them throws is thrown here, once
// all are done.
void RunInParallel(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace kestrava::history
