#pragma once

#include <cstddef>

// How the platform gives a large piece of memory. Each platform defines it in its own
// folder.
namespace kestrava::platform {

// A large piece of memory, its pages given as they are first written (zeroed), and given
// back whole when it goes. Where the system offers large pages for the asking (Linux's
// transparent huge pages) they are asked for: each first write then brings 2 MB instead
// of 4 KB, and megabytes written at once cost a few faults instead of thousands, each
// paid again as the page is freed. Throws std::bad_alloc when the system has no such
// piece to give.
class LargeMemory {
public:
    explicit LargeMemory(std::size_t size);
    ~LargeMemory();
    LargeMemory(LargeMemory&& other) noexcept;
    LargeMemory(const LargeMemory&) = delete;
    LargeMemory& operator=(const LargeMemory&) = delete;
    LargeMemory& operator=(LargeMemory&&) = delete;

    char* data() const { return data_; }
    // At least the size asked for, and at least a byte.
    std::size_t size() const { return size_; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Asks for large pages, where the system offers them for the asking, for the whole large
// pages that lie within a piece of memory not yet written: a buffer of megabytes, reserved
// and about to be filled, is then given in a few faults instead of thousands. Only advice:
// nothing changes where there are none, nor on memory already written.
void AskForLargePages(char* start, std::size_t size);

// Reserves room for `count` elements in a string or vector about to be filled, asking for
// large pages for it.
template <typename Container>
void ReserveInLargePages(Container& container, std::size_t count) {
    if (count > container.capacity()) {
        container.reserve(count);
        AskForLargePages(reinterpret_cast<char*>(container.data()),
                         container.capacity() * sizeof(*container.data()));
    }
}

}  // namespace kestrava::platform
