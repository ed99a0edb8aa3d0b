#pragma once

#include <cstdint>
#include <string>

#include "cli/Console.h"
#include "history/EntryHeader.h"
#include "history/EntryIndex.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"
#include "platform/RuntimeError.h"

namespace kestrava::cli {

// The history log as the reading commands find it: open, with the end of its whole
// entries known. Reports a torn entry at its end. Throws RuntimeError, with a
// description that names the log, when it can't be read as entries at all: missing,
// unreadable, empty, or holding no whole entry.
struct HistoryLog {
    HistoryLog(const platform::FileSystem& fileSystem, const std::string& path, Console& console);

    history::LogFile file;
    history::LogEnd end;
};

// The failure of a log that holds no whole entry, naming it.
platform::RuntimeError NoWholeEntry(const history::LogFile& log, const Console& console);

// One entry read whole: its files' lines, each ended by a line feed.
struct LoggedEntry {
    std::int64_t number = 0;  // as the command was given it
    history::EntrySpan span;
    std::string files;
};

// Throws RuntimeError when the log holds no entry of that number.
LoggedEntry ReadEntry(const history::LogFile& log, history::EntryIndex& index, std::int64_t number,
                      const Console& console);

// How many files an entry lists, of the lines it holds; the lines that name none are
// reported and left out.
std::uint64_t CountFiles(std::int64_t number, std::uint64_t lines, std::uint64_t unreadableLines,
                         Console& console);

}  // namespace kestrava::cli
