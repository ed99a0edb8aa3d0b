#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "history/GrowingRoom.h"

namespace kestrava::history {
namespace {

// Builds a thing of `size` bytes in steps of `step`, each step's bytes its number; where
// it ends up.
std::string_view Build(GrowingRoom& room, std::size_t size, std::size_t step) {
    char* start = nullptr;
    for (std::size_t used = 0; used < size; used += step) {
        const std::size_t more = std::min(step, size - used);
        start = room.makeRoom(used, more);
        std::memset(start + used, static_cast<char>(used / step), more);
    }
    return {start, size};
}

std::string Expected(std::size_t size, std::size_t step) {
    std::string bytes;
    for (std::size_t used = 0; used < size; used += step) {
        bytes.append(std::min(step, size - used), static_cast<char>(used / step));
    }
    return bytes;
}

// What is done stays where it is, whole, as later things grow past the room's pieces and
// move; a thing dropped leaves its place to the next.
TEST(GrowingRoom, KeepsWhatIsDoneWhereItIsAndMovesOnlyWhatGrows) {
    GrowingRoom room;
    const std::string_view small = Build(room, 1000, 100);
    room.finish(small.size());
    // Larger than a piece: it moves, more than once, as it grows.
    constexpr std::size_t Large = std::size_t{40} << 20;
    const std::string_view large = Build(room, Large, std::size_t{1} << 20);
    room.finish(large.size());
    const std::string_view dropped = Build(room, 5000, 1000);
    room.finish(0);
    const std::string_view last = Build(room, 3000, 7);
    room.finish(last.size());

    EXPECT_EQ(small, Expected(1000, 100));
    EXPECT_TRUE(large == Expected(Large, std::size_t{1} << 20));
    EXPECT_EQ(last, Expected(3000, 7));
    EXPECT_EQ(last.data(), dropped.data());
    // Things follow one another packed: the next begins within a cache line of the last.
    const char* const after = room.makeRoom(0, 1);
    EXPECT_GE(after, last.data() + last.size());
    EXPECT_LT(after, last.data() + last.size() + 64);
}

}  // namespace
}  // namespace kestrava::history
