#include "history/SameLines.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>

#include "history/FileLine.h"
#include "platform/LargeMemory.h"

namespace kestrava::history {
namespace {

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t feed = text.find('\n', at);
        const std::size_t next = feed == std::string_view::npos ? text.size() : feed + 1;
        visit(WithoutLineEnd(text.substr(at, next - at)));
        at = next;
    }
}

// A text's lines, with their hashes.
struct HashedLines {
    std::vector<std::string_view> lines;
    std::vector<std::uint64_t> hashes;
};

HashedLines Hashed(std::string_view text) {
    HashedLines hashed;
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    platform::ReserveInLargePages(hashed.lines, lines);
    platform::ReserveInLargePages(hashed.hashes, lines);
    ForEachLine(text, [&](std::string_view line) {
        hashed.lines.push_back(line);
        hashed.hashes.push_back(std::hash<std::string_view>{}(line));
    });
    return hashed;
}

constexpr std::uint32_t NoLine = UINT32_MAX;
// How many lines ahead a slot is fetched: the table is larger than the caches, and
// waiting for each slot in turn would cost more than the rest of the comparison.
constexpr std::size_t FetchAhead = 8;

// The lines of one text by their text, each distinct line with the listings of it that
// are not matched yet, first ones first: open addressing in one array, at most half full.
class LineTable {
public:
    explicit LineTable(const HashedLines& text)
        : text_(text),
          mask_(std::bit_ceil(text.lines.size() * 2 + 2) - 1),
          matched_(text.lines.size(), false) {
        platform::ReserveInLargePages(slots_, mask_ + 1);
        slots_.resize(mask_ + 1);
        platform::ReserveInLargePages(nextSame_, text.lines.size());
        nextSame_.resize(text.lines.size(), NoLine);
        // From the last line back, so that each line's listings chain first to last.
        for (std::size_t line = text.lines.size(); line-- > 0;) {
            fetch(text.hashes, line >= FetchAhead ? line - FetchAhead : text.hashes.size());
            Slot& slot = find(text.lines[line], text.hashes[line]);
            if (slot.first == NoLine) {
                slot.hash = text.hashes[line];
            }
            slot.first = static_cast<std::uint32_t>(line);
            nextSame_[line] = slot.unmatched;
            slot.unmatched = static_cast<std::uint32_t>(line);
        }
    }

    // Matches the first listing not matched yet of each line of the other text; what it
    // can't match is left.
    void match(const HashedLines& other, std::vector<std::string_view>& left) {
        for (std::size_t line = 0; line < other.lines.size(); ++line) {
            fetch(other.hashes, line + FetchAhead);
            Slot& slot = find(other.lines[line], other.hashes[line]);
            if (slot.unmatched == NoLine) {
                left.push_back(other.lines[line]);
                continue;
            }
            matched_[slot.unmatched] = true;
            slot.unmatched = nextSame_[slot.unmatched];
        }
    }

    void keepUnmatched(std::vector<std::string_view>& left) const {
        for (std::size_t line = 0; line < text_.lines.size(); ++line) {
            if (!matched_[line]) {
                left.push_back(text_.lines[line]);
            }
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t first = NoLine;  // none: the slot is free
        std::uint32_t unmatched = NoLine;
    };

    void fetch(const std::vector<std::uint64_t>& hashes, std::size_t line) const {
        if (line < hashes.size()) {
            __builtin_prefetch(&slots_[hashes[line] & mask_]);
        }
    }

    // The line's slot, or the free one where it would go.
    Slot& find(std::string_view line, std::uint64_t hash) {
        std::size_t at = hash & mask_;
        while (slots_[at].first != NoLine &&
               (slots_[at].hash != hash || text_.lines[slots_[at].first] != line)) {
            at = (at + 1) & mask_;
        }
        return slots_[at];
    }

    const HashedLines& text_;
    std::vector<Slot> slots_;
    std::size_t mask_;
    std::vector<std::uint32_t> nextSame_;
    std::vector<bool> matched_;
};

}  // namespace

void KeepLinesNotInBoth(std::string_view before, std::string_view after,
                        std::vector<std::string_view>& beforeLeft,
                        std::vector<std::string_view>& afterLeft) {
    const HashedLines beforeLines = Hashed(before);
    LineTable table(beforeLines);
    table.match(Hashed(after), afterLeft);
    table.keepUnmatched(beforeLeft);
}

}  // namespace kestrava::history
