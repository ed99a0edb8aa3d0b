#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "history/ParallelWork.h"

namespace kestrava::history {
namespace {

// Each item is worked on once, whatever the threads; what one item throws comes out
// once all are done, and the others are still worked on.
TEST(ParallelWork, WorksOnEveryItemOnceAndThrowsWhatAnItemThrewOnceAllAreDone) {
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{57}}) {
        std::vector<std::atomic<int>> worked(count);
        RunInParallel(count, [&](std::size_t item) { ++worked[item]; });
        for (std::size_t item = 0; item < count; ++item) {
            EXPECT_EQ(worked[item], 1) << item << " of " << count;
        }
    }

    std::vector<std::atomic<int>> worked(40);
    EXPECT_THROW(RunInParallel(worked.size(),
                               [&](std::size_t item) {
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
