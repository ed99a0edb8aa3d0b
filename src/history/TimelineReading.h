#pragma once

#include <cstdint>

#include "history/FileTimeline.h"
#include "history/LogFile.h"
#include "history/PathQuery.h"
#include "history/StoreFile.h"

namespace kestrava::history {

// The timelines of the paths the query asks about in the store's entries (numbered
// from 1): read from the line versions alone, whose ranges of entries are already what
// happened to each line, without rebuilding an entry.
void ReadStoredTimelines(StoreReader& store, const PathQuery& query, Timelines& timelines);

// The same in the text log's whole entries between begin and end, the first numbered
// `firstNumber`, in one pass: an entry's lines are looked at only where they hold a
// literal of the query's patterns. Returns how many entries were read.
std::uint64_t ReadLoggedTimelines(const LogFile& log, std::uint64_t begin, std::uint64_t end,
                                  std::uint64_t firstNumber, const PathQuery& query,
                                  Timelines& timelines);

}  // namespace kestrava::history
