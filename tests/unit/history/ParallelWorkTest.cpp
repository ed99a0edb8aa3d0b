#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "history/ParallelWork.h"

namespace kestrava::history {
namespace {

// Each item is worked on once, whatever the threads, by a worker numbered below them that
// works on one item at a time; what one item throws comes out once all are done, and the
// others are still worked on.
TEST(ParallelWork, WorksOnEveryItemOnceAndThrowsWhatAnItemThrewOnceAllAreDone) {
    constexpr std::size_t Threads = 3;
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{57}}) {
        std::vector<std::atomic<int>> worked(count);
        std::array<std::atomic<int>, Threads> busy{};
        std::atomic<bool> workersOnTheirOwn = true;
        RunInParallel(
            count,
            [&](std::size_t item, std::size_t worker) {
                ASSERT_LT(worker, Threads);
                if (++busy[worker] != 1) {
                    workersOnTheirOwn = false;
                }
                ++worked[item];
                std::this_thread::yield();
                --busy[worker];
            },
            Threads);
        EXPECT_TRUE(workersOnTheirOwn);
        for (std::size_t item = 0; item < count; ++item) {
            EXPECT_EQ(worked[item], 1) << item << " of " << count;
        }
    }

    std::vector<std::atomic<int>> worked(40);
    EXPECT_THROW(RunInParallel(worked.size(),
                               [&](std::size_t item, std::size_t /*worker*/) {
                                   ++worked[item];
                                   if (item == 7) {
                                       throw std::runtime_error("item 7");
                                   }
                               }),
                 std::runtime_error);
    for (const auto& item : worked) {
        EXPECT_EQ(item, 1);
    }
}

}  // namespace
}  // namespace kestrava::history
