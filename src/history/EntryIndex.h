#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "history/EntryHeader.h"
#include "history/EntryScans.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"

namespace kestrava::history {

// The whole entries of a log by number: 1 is the oldest, -1 the newest, -2 the one before
// it. An entry counted from the newest is found by reading the log backward, one counted
// from the oldest by reading it forward, each only as far as the number asks; what was
// found is kept for the next question.
class EntryIndex {
public:
    EntryIndex(const LogFile& log, const LogEnd& end)
        : backward_(log, end.entriesEnd, end.entriesBegin),
          forward_(log, end.entriesEnd, end.entriesBegin) {}

    // Nothing when the log holds no entry of that number (or the number is 0).
    std::optional<EntrySpan> entry(std::int64_t number);

    // How many whole entries the log holds: found by reading it whole, unless a question
    // did so already.
    std::uint64_t count();

private:
    bool findFromNewest(std::uint64_t count);
    bool findFromOldest(std::uint64_t count);

    BackwardEntries backward_;
    ForwardEntries forward_;
    std::vector<EntrySpan> fromNewest_;
    std::vector<EntrySpan> fromOldest_;
    bool allFromNewest_ = false;
    bool allFromOldest_ = false;
};

}  // namespace kestrava::history
