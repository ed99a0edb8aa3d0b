#include "history/GrowingRoom.h"

#include <algorithm>
#include <cstring>

// AddressSanitizer checks the memory the allocator gives out; a room's pieces come from
// the system instead. What a room has not handed out is marked unaddressable, so that a
// read past what was built is caught there too. Without the sanitizer these do nothing.
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace kestrava::history {
namespace {

// Most stores' parts fit a piece many times over; a larger one gets a piece of its own.
constexpr std::size_t PieceSize = std::size_t{16} << 20;
// Each thing begins on a cache line's bound, aligned for whatever it holds.
constexpr std::size_t Alignment = 64;

}  // namespace

GrowingRoom::~GrowingRoom() {
    // The system may give these addresses out again, to a program that checks them.
    for (const platform::LargeMemory& piece : pieces_) {
        ASAN_UNPOISON_MEMORY_REGION(piece.data(), piece.size());
    }
}

char* GrowingRoom::makeRoom(std::size_t used, std::size_t more) {
    if (pieces_.empty() || more > pieces_.back().size() - top_ - used) {
        char* const built = pieces_.empty() ? nullptr : pieces_.back().data() + top_;
        const std::size_t leftBehind = pieces_.empty() ? 0 : pieces_.back().size() - top_;
        platform::LargeMemory& piece = pieces_.emplace_back(std::max(PieceSize, 2 * (used + more)));
        ASAN_POISON_MEMORY_REGION(piece.data(), piece.size());
        ASAN_UNPOISON_MEMORY_REGION(piece.data(), used);
        if (used > 0) {
            std::memcpy(piece.data(), built, used);
        }
        ASAN_POISON_MEMORY_REGION(built, leftBehind);
        top_ = 0;
    }
    char* const start = pieces_.back().data() + top_;
    ASAN_UNPOISON_MEMORY_REGION(start, used + more);
    return start;
}

void GrowingRoom::finish(std::size_t used) {
    if (pieces_.empty()) {
        return;
    }
    const platform::LargeMemory& piece = pieces_.back();
    ASAN_POISON_MEMORY_REGION(piece.data() + top_ + used, piece.size() - top_ - used);
    top_ = std::min(piece.size(), (top_ + used + Alignment - 1) / Alignment * Alignment);
}

}  // namespace kestrava::history
