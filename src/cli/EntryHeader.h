#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/LogFile.h"

namespace kestrava::cli {

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

// Whether a line is a date line, "[" text "]", and its text.
std::optional<std::string_view> DateOfLine(std::string_view line);

// The entries that begin in [from, to) of the log, read no further than limit, in the
// order they come; each with its end unknown yet (left at its files' start).
std::vector<EntrySpan> FindEntryStarts(const LogFile& log, std::uint64_t from, std::uint64_t to,
                                       std::uint64_t limit);

}  // namespace kestrava::cli
