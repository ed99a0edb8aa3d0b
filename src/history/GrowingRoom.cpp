#include "history/GrowingRoom.h"

#include <algorithm>
#include <cstring>

namespace kestrava::history {
namespace {

// Most stores' parts fit a piece many times over; a larger one gets a piece of its own.
constexpr std::size_t PieceSize = std::size_t{16} << 20;
// Each thing begins on a cache line's bound, aligned for whatever it holds.
constexpr std::size_t Alignment = 64;

}  // namespace

char* GrowingRoom::makeRoom(std::size_t used, std::size_t more) {
    if (!pieces_.empty() && more <= pieces_.back().size() - top_ - used) {
        return pieces_.back().data() + top_;
    }
    const char* const built = pieces_.empty() ? nullptr : pieces_.back().data() + top_;
    platform::LargeMemory& piece = pieces_.emplace_back(std::max(PieceSize, 2 * (used + more)));
    if (used > 0) {
        std::memcpy(piece.data(), built, used);
    }
    top_ = 0;
    return piece.data();
}

void GrowingRoom::finish(std::size_t used) {
    top_ = std::min(pieces_.empty() ? 0 : pieces_.back().size(),
                    (top_ + used + Alignment - 1) / Alignment * Alignment);
}

}  // namespace kestrava::history
