#pragma once

#include <cstddef>
#include <vector>

#include "platform/LargeMemory.h"

namespace kestrava::history {

// Memory in which one thread builds one thing at a time, not knowing its size until it
// is done: it grows at the top of a large piece, and moves (its bytes with it) to a new
// piece only when the one it is in can't hold it. What is done stays where it is, packed
// after what was done before, until the room goes. A store's reader keeps the lines it
// rebuilds so: megabytes of them in a few large pages (see platform::LargeMemory).
class GrowingRoom {
public:
    GrowingRoom() = default;
    ~GrowingRoom();
    GrowingRoom(GrowingRoom&&) noexcept = default;
    GrowingRoom(const GrowingRoom&) = delete;
    GrowingRoom& operator=(const GrowingRoom&) = delete;
    GrowingRoom& operator=(GrowingRoom&&) = delete;

    // Where the thing being built begins, with room for `more` bytes past the `used` it
    // holds: valid until the next call.
    char* makeRoom(std::size_t used, std::size_t more);
    // Ends the thing being built at `used` bytes (none drops it); the next begins after.
    void finish(std::size_t used);

private:
    std::vector<platform::LargeMemory> pieces_;
    std::size_t top_ = 0;  // where the thing being built begins, in the last piece
};

}  // namespace kestrava::history
