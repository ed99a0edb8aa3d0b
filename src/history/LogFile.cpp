#include "history/LogFile.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/HistoryLog.h"
#include "platform/LargeMemory.h"
#include "platform/RuntimeError.h"

namespace kestrava::history {

LogFile::LogFile(const platform::FileSystem& fileSystem, std::string path)
    : path_(std::move(path)), file_(fileSystem.openForReading(path_)) {
    // An entry being appended would read as a whole one that lacks its last files: the
    // log is read once no program appends to it, and none does while it is read.
    const auto givingUp = std::chrono::steady_clock::now() + engine::HistoryLogEntry::LockWait;
    while (!file_->lockForReading()) {
        if (std::chrono::steady_clock::now() >= givingUp) {
            throw platform::RuntimeError(platform::error_number::PermissionDenied,
                                         "another program went on writing an entry into the "
                                         "history log for too long");
        }
        std::this_thread::sleep_for(engine::HistoryLogEntry::LockRetry);
    }
    size_ = file_->size();
}

LogFile::LogFile(const platform::FileSystem& fileSystem, std::string path, std::uint64_t wholeSize)
    : path_(std::move(path)),
      file_(fileSystem.openForReading(path_)),
      size_(std::min(wholeSize, file_->size())) {}

void LogFile::read(std::uint64_t offset, std::uint64_t end, std::string& buffer) const {
    end = std::min(end, size_);
    offset = std::min(offset, end);
    const auto size = static_cast<std::size_t>(end - offset);
    buffer.clear();
    platform::ReserveInLargePages(buffer, size);
    buffer.resize(size);
    fill(offset, buffer);
}

void LogFile::readAppending(std::uint64_t offset, std::uint64_t end, std::string& buffer) const {
    end = std::min(end, size_);
    offset = std::min(offset, end);
    const std::size_t start = buffer.size();
    buffer.resize(start + static_cast<std::size_t>(end - offset));
    fill(offset, std::span(buffer).subspan(start));
}

void LogFile::fill(std::uint64_t offset, std::span<char> bytes) const {
    if (file_->readAt(offset, bytes) != bytes.size()) {
        throw platform::RuntimeError(platform::error_number::PathFileAccessError,
                                     "the history log was cut short while it was read");
    }
}

}  // namespace kestrava::history
