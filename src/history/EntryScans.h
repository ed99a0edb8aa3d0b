#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "history/EntryHeader.h"
#include "history/LogFile.h"

namespace kestrava::history {

// The log's entries from the newest back to the oldest, found by reading the log backward
// from the end of its entries, block by block: the newest entries cost no more reading
// than they hold, however long the log.
class BackwardEntries {
public:
    BackwardEntries(const LogFile& log, std::uint64_t end, std::uint64_t begin = 0)
        : log_(log), begin_(std::min(begin, end)), end_(end), searchedFrom_(end), nextEnd_(end) {}

    std::optional<EntrySpan> next();

private:
    const LogFile& log_;
    std::uint64_t begin_;
    std::uint64_t end_;
    std::uint64_t searchedFrom_;  // the log is searched from here to its end
    std::uint64_t nextEnd_;       // where the next entry to hand out ends
    std::uint64_t blockSize_ = 256 * 1024;
    std::vector<EntrySpan> found_;  // searched but not handed out, oldest first
    std::string buffer_;
};

// The log's entries from the oldest on, found by reading the log forward.
class ForwardEntries {
public:
    ForwardEntries(const LogFile& log, std::uint64_t end, std::uint64_t begin = 0)
        : log_(log), end_(end), searchedTo_(std::min(begin, end)) {}

    std::optional<EntrySpan> next();

private:
    bool searchFurther();

    const LogFile& log_;
    std::uint64_t end_;
    std::uint64_t searchedTo_;
    std::deque<EntrySpan> found_;  // searched but not handed out, oldest first
    std::string buffer_;
};

}  // namespace kestrava::history
