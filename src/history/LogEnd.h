#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "history/LogFile.h"

namespace kestrava::history {

// The entry that was being written when the log was cut: the program that wrote it was
// ended, or its disk filled up.
struct TornEntry {
    std::uint64_t start = 0;
    std::string date;  // empty where the cut came within its date line
};

// Where the log's whole entries end, and the torn entry after them, if there is one.
struct LogEnd {
    std::uint64_t entriesBegin = 0;  // past what a history store took in already
    std::uint64_t entriesEnd = 0;
    std::optional<TornEntry> torn;
};

// Reads as little of the log's end as tells: a log that ends in the middle of a line,
// or with a date line that no header line follows, ends with a torn entry.
// Entries are looked for from `begin` on.
LogEnd FindLogEnd(const LogFile& log, std::uint64_t begin = 0);

}  // namespace kestrava::history
