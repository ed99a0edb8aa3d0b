#include "platform/LargeMemory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace kestrava::platform {
namespace {

constexpr std::size_t LargePage = std::size_t{2} << 20;

std::uintptr_t RoundedUp(std::uintptr_t value) {
    return (value + LargePage - 1) / LargePage * LargePage;
}

std::uintptr_t RoundedDown(std::uintptr_t value) {
    return value / LargePage * LargePage;
}

}  // namespace

LargeMemory::LargeMemory(std::size_t size) : size_(RoundedUp(std::max<std::size_t>(size, 1))) {
    // A large page is only had on a large page's bound: a page more is mapped, and what
    // lies outside the bounds goes back at once.
    const std::size_t mapped = size_ + LargePage;
    void* const start =
        ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t bound = RoundedUp(address);
    if (bound > address) {
        ::munmap(start, bound - address);
    }
    if (const std::uintptr_t after = address + mapped - (bound + size_); after > 0) {
        ::munmap(reinterpret_cast<void*>(bound + size_), after);
    }
    data_ = reinterpret_cast<char*>(bound);
    // Only advice: where the system gives no large pages, small ones serve.
    ::madvise(data_, size_, MADV_HUGEPAGE);
}

void AskForLargePages(char* start, std::size_t size) {
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t first = RoundedUp(address);
    const std::uintptr_t end = RoundedDown(address + size);
    if (first < end) {
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
}

LargeMemory::~LargeMemory() {
    if (data_ != nullptr) {
        ::munmap(data_, size_);
    }
}

LargeMemory::LargeMemory(LargeMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

}  // namespace kestrava::platform
