#include "history/EntryHeader.h"

#include <algorithm>
#include <cstring>

#include "history/FileLine.h"

namespace kestrava::history {
namespace {

// The entry's first two lines, when the line at `at` (a line start holding "[") begins
// an entry.
std::optional<EntryHeader> HeaderAt(std::string_view bytes, std::size_t at) {
    const std::size_t dateEnd = bytes.find('\n', at);
    if (dateEnd == std::string_view::npos || dateEnd - at > LongestDateLine) {
        return std::nullopt;
    }
    std::size_t next = at;
    const auto date = DateOfLine(NextLine(bytes, next));
    if (!date || NextLine(bytes, next) != HeaderLine || bytes[next - 1] != '\n') {
        return std::nullopt;
    }
    return EntryHeader{at, next, *date};
}

}  // namespace

std::optional<std::string_view> DateOfLine(std::string_view line) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return line.substr(1, line.size() - 2);
}

std::optional<EntryHeader> FindHeader(std::string_view bytes, std::size_t from, std::size_t to,
                                      bool firstIsLineStart) {
    for (std::size_t at = from; at < to; ++at) {
        const void* bracket = std::memchr(bytes.data() + at, '[', to - at);
        if (bracket == nullptr) {
            return std::nullopt;
        }
        at = static_cast<std::size_t>(static_cast<const char*>(bracket) - bytes.data());
        const bool lineStart = at == 0 ? firstIsLineStart : bytes[at - 1] == '\n';
        if (lineStart) {
            if (auto header = HeaderAt(bytes, at)) {
                return header;
            }
        }
    }
    return std::nullopt;
}

std::vector<EntrySpan> FindEntryStarts(const LogFile& log, std::uint64_t from, std::uint64_t to,
                                       std::uint64_t limit, std::string& buffer) {
    // One byte before the range tells whether its first byte starts a line.
    const std::uint64_t readFrom = from == 0 ? 0 : from - 1;
    log.read(readFrom, std::min(limit, to + HeaderReach), buffer);
    const std::size_t last = static_cast<std::size_t>(std::min(to, limit) - readFrom);
    std::vector<EntrySpan> starts;
    std::size_t at = static_cast<std::size_t>(from - readFrom);
    while (const auto header = FindHeader(buffer, at, last, readFrom == 0)) {
        starts.push_back({readFrom + header->start, readFrom + header->filesStart,
                          readFrom + header->filesStart, std::string(header->date)});
        at = header->start + 1;
    }
    return starts;
}

}  // namespace kestrava::history
