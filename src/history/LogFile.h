#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/FileSystem.h"

namespace kestrava::history {

// The history log, opened for reading at any offset, once no program is appending an
// entry to it (waiting as long as a writer waits for another's entry, at most); none
// starts one until it is closed.
class LogFile {
public:
    // Throws RuntimeError when the log can't be opened, or is no plain file.
    LogFile(const platform::FileSystem& fileSystem, std::string path);

    // The log read, without holding writers off, within a size it had while no program
    // appended to it (or within its size now, when that is less): the bytes below never
    // change while entries are appended.
    LogFile(const platform::FileSystem& fileSystem, std::string path, std::uint64_t wholeSize);

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return size_; }

    // Fills the buffer with the bytes from offset to end (within the size). Throws
    // RuntimeError when they can't be read, or are no longer there: the log was cleared
    // or cut while it was read.
    void read(std::uint64_t offset, std::uint64_t end, std::string& buffer) const;

    // Appends the bytes from offset to end (within the size) to the buffer.
    void readAppending(std::uint64_t offset, std::uint64_t end, std::string& buffer) const;

    std::string read(std::uint64_t offset, std::uint64_t end) const {
        std::string bytes;
        read(offset, end, bytes);
        return bytes;
    }

private:
    void fill(std::uint64_t offset, std::span<char> bytes) const;

    std::string path_;
    std::unique_ptr<platform::ReadableFile> file_;
    std::uint64_t size_ = 0;
};

}  // namespace kestrava::history
