#pragma once

namespace kestrava::platform {

// A pseudo-random fraction r, 0 <= r < 1, from a generator seeded with seed: the same
// seed gives the same fraction on every platform.
double SeededRandomFraction(double seed);

}  // namespace kestrava::platform
