#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/LargeMemory.h"

namespace kestrava::platform {
namespace {

struct Range {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
};

// The ranges of this process's memory that were asked to come in large pages.
std::vector<Range> RangesAskedForLargePages() {
    std::ifstream maps("/proc/self/smaps");
    std::vector<Range> asked;
    Range current;
    for (std::string line; std::getline(maps, line);) {
        if (line.rfind("VmFlags:", 0) == 0) {
            if ((line + ' ').find(" hg ") != std::string::npos) {
                asked.push_back(current);
            }
        } else if (const auto dash = line.find('-');
                   dash != std::string::npos && line.find(' ') > dash) {
            std::istringstream bounds(line.substr(0, line.find(' ')));
            char separator = 0;
            bounds >> std::hex >> current.start >> separator >> current.end;
        }
    }
    return asked;
}

bool SystemOffersLargePages() {
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string offered;
    std::getline(setting, offered);
    return !offered.empty() && offered.find("[never]") == std::string::npos;
}

TEST(LargePages, AreAskedForWithinTheReservedBytesAloneAndKeepWhatTheyHold) {
    const std::size_t size = std::size_t{9} << 20;
    std::string buffer = "kept";
    ReserveInLargePages(buffer, size);
    ASSERT_GE(buffer.capacity(), size);
    EXPECT_EQ(buffer, "kept");

    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t end = start + buffer.capacity();
    bool askedWithin = false;
    for (const Range& range : RangesAskedForLargePages()) {
        if (range.end <= start || range.start >= end) {
            continue;
        }
        // Memory around the buffer belongs to others: the advice must not reach it.
        EXPECT_GE(range.start, start);
        EXPECT_LE(range.end, end);
        askedWithin = true;
    }
    if (SystemOffersLargePages()) {
        EXPECT_TRUE(askedWithin) << "nine megabytes hold whole large pages";
    }

    std::vector<std::uint64_t> small;
    ReserveInLargePages(small, 16);
    EXPECT_GE(small.capacity(), 16U);
}

}  // namespace
}  // namespace kestrava::platform
