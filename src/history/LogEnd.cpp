#include "history/LogEnd.h"

#include <algorithm>

#include "history/EntryHeader.h"
#include "history/EntryScans.h"

namespace kestrava::history {
namespace {

// Where the last whole line ends: after the log's last line feed, or at its start.
std::uint64_t EndOfWholeLines(const LogFile& log) {
    constexpr std::uint64_t Block = 64 * 1024;
    std::string bytes;
    for (std::uint64_t end = log.size(); end > 0;) {
        const std::uint64_t start = end - std::min(end, Block);
        log.read(start, end, bytes);
        const std::size_t lineFeed = bytes.rfind('\n');
        if (lineFeed != std::string::npos) {
            return start + lineFeed + 1;
        }
        end = start;
    }
    return 0;
}

std::string_view WithoutCarriageReturn(std::string_view text) {
    return text.ends_with('\r') ? text.substr(0, text.size() - 1) : text;
}

struct DateLine {
    std::uint64_t start;
    std::string date;
};

// The whole line that ends at `end` (after its line feed), when it is a date line.
std::optional<DateLine> DateLineEndingAt(const LogFile& log, std::uint64_t end) {
    const std::uint64_t from = end - std::min<std::uint64_t>(end, LongestDateLine + 3);
    const std::string bytes = log.read(from, end);
    const std::size_t lineFeed = bytes.size() - 1;
    const std::size_t previousFeed =
        lineFeed == 0 ? std::string::npos : bytes.rfind('\n', lineFeed - 1);
    if (previousFeed == std::string::npos && from > 0) {
        return std::nullopt;  // longer than any date line
    }
    const std::size_t lineStart = previousFeed == std::string::npos ? 0 : previousFeed + 1;
    const std::string_view line(bytes.data() + lineStart, lineFeed - lineStart);
    const auto date = DateOfLine(WithoutCarriageReturn(line));
    if (!date) {
        return std::nullopt;
    }
    return DateLine{from + lineStart, std::string(*date)};
}

}  // namespace

LogEnd FindLogEnd(const LogFile& log, std::uint64_t begin) {
    const std::uint64_t wholeLinesEnd = EndOfWholeLines(log);
    // Only the cut line's beginning tells what it was.
    const std::string cut = log.read(wholeLinesEnd, wholeLinesEnd + LongestDateLine + 2);
    const std::string_view cutLine = WithoutCarriageReturn(cut);
    const auto lastDateLine =
        wholeLinesEnd > 0 ? DateLineEndingAt(log, wholeLinesEnd) : std::nullopt;
    // An entry's first line alone, or with the beginning of its header line.
    if (lastDateLine && HeaderLine.starts_with(cutLine)) {
        return {begin, lastDateLine->start, TornEntry{lastDateLine->start, lastDateLine->date}};
    }
    if (cut.empty()) {
        return {begin, wholeLinesEnd, std::nullopt};
    }
    // A new entry cut in its date line: file paths never begin with "[".
    if (cut.starts_with('[')) {
        const auto date =
            log.size() - wholeLinesEnd == cut.size() ? DateOfLine(cutLine) : std::nullopt;
        return {begin, wholeLinesEnd, TornEntry{wholeLinesEnd, std::string(date.value_or(""))}};
    }
    // Cut within a file line: the newest entry is torn.
    BackwardEntries entries(log, wholeLinesEnd, begin);
    if (const auto newest = entries.next()) {
        return {begin, newest->start, TornEntry{newest->start, newest->date}};
    }
    return {begin, wholeLinesEnd, std::nullopt};
}

}  // namespace kestrava::history
