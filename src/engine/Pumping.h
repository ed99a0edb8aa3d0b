#pragma once

#include <cstddef>

namespace kestrava::engine {

// Long loops over the entries of one folder let events run every this many entries,
// so that a folder of a hundred thousand files doesn't hold the window still: at a
// few microseconds per entry that is a pump every millisecond or so, and the real
// pump itself runs the event loop at most every few milliseconds.
inline constexpr std::size_t EntriesBetweenPumps = 256;

}  // namespace kestrava::engine
