#include "platform/SeededRandom.h"

#include <bit>
#include <cstdint>
#include <random>

namespace kestrava::platform {

double SeededRandomFraction(double seed) {
    std::mt19937_64 generator(std::bit_cast<std::uint64_t>(seed));
    // The top 53 bits of one draw, scaled: every double in [0, 1) that this can give is exact.
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

}  // namespace kestrava::platform
