#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/LogFile.h"

namespace kestrava::history {

// An entry begins with a line "[" date-and-time "]" followed at once by this line.
inline constexpr std::string_view HeaderLine = "File|Size|Date Modified";
// A date line longer than this is no date line: a locale's date and time are far shorter.
inline constexpr std::size_t LongestDateLine = 256;

// Where one entry lies in the log.
struct EntrySpan {
    std::uint64_t start = 0;       // its date line
    std::uint64_t filesStart = 0;  // its first file line
    std::uint64_t end = 0;         // the next entry's start, or the end of the entries
    std::string date;              // the text between the date line's brackets, as logged
};

// An entry's first two lines, as found in some bytes of the log.
struct EntryHeader {
    std::size_t start;       // its date line's, in the bytes
    std::size_t filesStart;  // its first file line's
    std::string_view date;
};

// How far beyond a date line's "[" the bytes must reach to tell whether an entry begins
// there.
inline constexpr std::size_t HeaderReach = LongestDateLine + HeaderLine.size() + 3;

// Whether a line is a date line, "[" text "]", and its text.
std::optional<std::string_view> DateOfLine(std::string_view line);

// The first entry that begins at a line start in bytes[from, to): the bytes' first byte
// counts as one where firstIsLineStart. The bytes should reach HeaderReach beyond `to`,
// unless they end where the log's entries end.
std::optional<EntryHeader> FindHeader(std::string_view bytes, std::size_t from, std::size_t to,
                                      bool firstIsLineStart);

// The entries that begin in [from, to) of the log, read no further than limit, in the
// order they come; each with its end unknown yet (left at its files' start). The buffer
// holds what was read, and is kept for the next search.
std::vector<EntrySpan> FindEntryStarts(const LogFile& log, std::uint64_t from, std::uint64_t to,
                                       std::uint64_t limit, std::string& buffer);

}  // namespace kestrava::history
