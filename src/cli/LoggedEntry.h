#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Console.h"
#include "history/EntryHeader.h"
#include "history/EntryIndex.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"
#include "history/StoreFile.h"
#include "platform/RuntimeError.h"

namespace kestrava::cli {

// The history as the reading commands find it: the text log open, its store beside it
// read, and the end of the log's whole entries known; the store's entries come first. Reports
// a torn entry at the log's end. Throws RuntimeError, with a description that names the
// log, when it can't be read as entries at all: missing, unreadable, empty, or holding no
// whole entry.
struct HistoryLog {
    HistoryLog(const platform::FileSystem& fileSystem, const std::string& path, Console& console);

    std::size_t stored() const { return store ? store->count() : 0; }

    history::LogFile file;
    std::optional<history::StoreReader> store;
    history::LogEnd end;
};

// The failure of a log that holds no whole entry, naming it.
platform::RuntimeError NoWholeEntry(const history::LogFile& log, const Console& console);

// One entry read whole: its files' lines, each ended by a line feed.
struct LoggedEntry {
    std::int64_t number = 0;  // as the command was given it
    std::string head;         // its date line and header line, as logged
    std::string date;
    std::string files;
    // A stored entry whose lines were left in the store, when asked for so: its place
    // there (from 0), and `files` is empty.
    std::optional<std::size_t> storedAt;
    // Whether each line is known to name a file: the store's index says so of an entry it
    // read whole, and its lines need not be read again to be shown.
    bool allNameFiles = false;
};

// Whether a stored entry's lines are joined into `files`, or left in the store, to be
// handed over one by one from where it keeps them (HistoryLog::store->forEachLine, which
// throws, before it hands over any, when they can't be read): an entry's megabytes are
// not copied to be written.
enum class StoredLines { Joined, Streamed };

// An entry of the history by its number, from the store or the text log. Throws
// RuntimeError when the history holds no entry of that number, or it can't be read.
LoggedEntry ReadEntry(HistoryLog& log, history::EntryIndex& index, std::int64_t number,
                      const Console& console, StoredLines stored = StoredLines::Joined);

// How many files an entry lists, of the lines it holds; the lines that name none are
// reported and left out.
std::uint64_t CountFiles(std::int64_t number, std::uint64_t lines, std::uint64_t unreadableLines,
                         Console& console);

}  // namespace kestrava::cli
