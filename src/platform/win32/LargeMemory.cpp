#include "platform/LargeMemory.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <utility>

namespace kestrava::platform {

// Windows gives large pages only to a process holding the right to lock memory: these
// are the system's small ones, committed at once and given as they are first written.
LargeMemory::LargeMemory(std::size_t size) : size_(std::max<std::size_t>(size, 1)) {
    data_ = static_cast<char*>(
        ::VirtualAlloc(nullptr, size_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (data_ == nullptr) {
        throw std::bad_alloc();
    }
}

void AskForLargePages(char*, std::size_t) {}

LargeMemory::~LargeMemory() {
    if (data_ != nullptr) {
        ::VirtualFree(data_, 0, MEM_RELEASE);
    }
}

LargeMemory::LargeMemory(LargeMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

}  // namespace kestrava::platform
