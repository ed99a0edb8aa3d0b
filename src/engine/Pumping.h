#pragma once

#include <cstddef>

namespace kestrava::engine {

// Long loops over the entries of one folder let events run every this many entries,
// so that a folder of a hundred thousand files doesn't hold the window still. An entry
// costs a few microseconds on a local disk but half a millisecond where listing is slow
// (a network share, wine): sixteen keeps even those under ten milliseconds, and the
// real pump, which runs the event loop at most every few milliseconds, returns at once
// when it is called sooner.
inline constexpr std::size_t EntriesBetweenPumps = 16;

}  // namespace kestrava::engine
