#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/FreeMemory.h"

namespace kestrava::testing {
namespace {

long AnonymousResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("RssAnon:", 0) == 0) {
            return std::stol(line.substr(8));
        }
    }
    return -1;
}

// As a walk's helper does: a thread allocates many small blocks and another frees them,
// all but a few that stay, scattered, so that no free stretch reaches the arena's end.
TEST(GiveBackFreeMemory, ReturnsThePagesAnotherThreadsArenaHoldsFree) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers' allocators keep memory their own way";
#endif
    constexpr std::size_t Blocks = 48'000;
    constexpr std::size_t BlockBytes = 1000;
    constexpr std::size_t KeptEvery = 16;
    std::vector<std::unique_ptr<char[]>> blocks(Blocks);
    std::thread([&] {
        for (auto& block : blocks) {
            block = std::make_unique<char[]>(BlockBytes);
            std::memset(block.get(), 1, BlockBytes);
        }
    }).join();
    for (std::size_t index = 0; index < Blocks; ++index) {
        if (index % KeptEvery != 0) {
            blocks[index].reset();
        }
    }
    const long held = AnonymousResidentKilobytes();

    platform::GiveBackFreeMemory();

    // About 45 MB lie free between the blocks kept; most of it is whole pages.
    EXPECT_LT(AnonymousResidentKilobytes(), held - 25 * 1024);
}

}  // namespace
}  // namespace kestrava::testing
