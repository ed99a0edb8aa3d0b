#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "history/LogFile.h"

namespace kestrava::history {

// One whole entry, read whole.
struct StreamedEntry {
    std::string head;         // its date line and header line, as logged
    std::string date;         // the text between its date line's brackets, as logged
    std::string files;        // its file lines, each ended by a line feed
    std::uint64_t lines = 0;  // how many
};

// The log's whole entries from the oldest on, each read whole, in one pass: each piece of
// the log is read once, and searched for the next entry's beginning while it is still in
// the processor's cache. For questions about every entry of a log of gigabytes.
class EntryStream {
public:
    EntryStream(const LogFile& log, std::uint64_t end, std::uint64_t begin = 0)
        : log_(log), end_(end), readTo_(std::min(begin, end)), firstEntryStart_(readTo_) {}

    // False when no whole entry is left.
    bool next(StreamedEntry& entry);

    // Where the first entry begins: whatever lies before it is no entry. Known once next()
    // has been called.
    std::uint64_t firstEntryStart() const { return firstEntryStart_; }

private:
    bool readMore(std::string& buffer);
    bool readMoreFiles(StreamedEntry& entry);
    bool findFirstEntry();

    const LogFile& log_;
    std::uint64_t end_;
    std::uint64_t readTo_;
    std::uint64_t firstEntryStart_;
    bool started_ = false;
    std::size_t lastSize_ = 0;  // of the last entry's files
    std::string pending_;       // read but not handed out: the next entry, from its date line on
};

}  // namespace kestrava::history
