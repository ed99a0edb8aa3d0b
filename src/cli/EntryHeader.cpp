#include "cli/EntryHeader.h"

#include <algorithm>
#include <cstring>

#include "cli/FileLine.h"

namespace kestrava::cli {
namespace {

// What must be read beyond a date line's "[" to tell whether an entry begins there.
constexpr std::size_t HeaderReach = LongestDateLine + HeaderLine.size() + 3;

struct Header {
    std::string_view date;
    std::size_t filesStart;
};

// The entry's first two lines, when the line at `at` (a line start holding "[") begins
// an entry.
std::optional<Header> HeaderAt(std::string_view bytes, std::size_t at) {
    const std::size_t dateEnd = bytes.find('\n', at);
    if (dateEnd == std::string_view::npos || dateEnd - at > LongestDateLine) {
        return std::nullopt;
    }
    std::size_t next = at;
    const auto date = DateOfLine(NextLine(bytes, next));
    if (!date || NextLine(bytes, next) != HeaderLine || bytes[next - 1] != '\n') {
        return std::nullopt;
    }
    return Header{*date, next};
}

}  // namespace

std::optional<std::string_view> DateOfLine(std::string_view line) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return line.substr(1, line.size() - 2);
}

std::vector<EntrySpan> FindEntryStarts(const LogFile& log, std::uint64_t from, std::uint64_t to,
                                       std::uint64_t limit) {
    // One byte before the range tells whether its first byte starts a line.
    const std::uint64_t readFrom = from == 0 ? 0 : from - 1;
    const std::string bytes = log.read(readFrom, std::min(limit, to + HeaderReach));
    const std::size_t first = static_cast<std::size_t>(from - readFrom);
    const std::size_t last = static_cast<std::size_t>(std::min(to, limit) - readFrom);
    std::vector<EntrySpan> starts;
    for (std::size_t at = first; at < last; ++at) {
        const void* bracket = std::memchr(bytes.data() + at, '[', last - at);
        if (bracket == nullptr) {
            break;
        }
        at = static_cast<std::size_t>(static_cast<const char*>(bracket) - bytes.data());
        const bool lineStart = at == 0 ? readFrom == 0 : bytes[at - 1] == '\n';
        if (!lineStart) {
            continue;
        }
        if (const auto header = HeaderAt(bytes, at)) {
            const std::uint64_t filesStart = readFrom + header->filesStart;
            starts.push_back({readFrom + at, filesStart, filesStart, std::string(header->date)});
        }
    }
    return starts;
}

}  // namespace kestrava::cli
