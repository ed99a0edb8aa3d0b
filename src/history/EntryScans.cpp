#include "history/EntryScans.h"

#include <algorithm>

namespace kestrava::history {
namespace {

constexpr std::uint64_t LargestBlock = 8 * 1024 * 1024;

}  // namespace

std::optional<EntrySpan> BackwardEntries::next() {
    while (found_.empty()) {
        if (searchedFrom_ <= begin_) {
            return std::nullopt;
        }
        const std::uint64_t blockStart =
            searchedFrom_ - std::min(searchedFrom_ - begin_, blockSize_);
        found_ = FindEntryStarts(log_, blockStart, searchedFrom_, end_, buffer_);
        searchedFrom_ = blockStart;
        // Entries are usually much larger than the first block: the reads grow, so that a
        // large entry costs few of them.
        blockSize_ = std::min(blockSize_ * 2, LargestBlock);
    }
    EntrySpan span = std::move(found_.back());
    found_.pop_back();
    span.end = nextEnd_;
    nextEnd_ = span.start;
    return span;
}

bool ForwardEntries::searchFurther() {
    if (searchedTo_ >= end_) {
        return false;
    }
    const std::uint64_t blockEnd = std::min(end_, searchedTo_ + LargestBlock);
    for (EntrySpan& span : FindEntryStarts(log_, searchedTo_, blockEnd, end_, buffer_)) {
        found_.push_back(std::move(span));
    }
    searchedTo_ = blockEnd;
    return true;
}

std::optional<EntrySpan> ForwardEntries::next() {
    while (found_.empty() && searchFurther()) {
    }
    if (found_.empty()) {
        return std::nullopt;
    }
    // The entry ends where the next one begins: that may lie blocks further on.
    while (found_.size() < 2 && searchFurther()) {
    }
    EntrySpan span = std::move(found_.front());
    found_.pop_front();
    span.end = found_.empty() ? end_ : found_.front().start;
    return span;
}

}  // namespace kestrava::history
