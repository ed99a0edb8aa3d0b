#include "history/StoreBuilder.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "history/EntryHeader.h"
#include "history/FileLine.h"

namespace kestrava::history {
namespace {

// How far apart two lines may be found again without a hash table: most entries differ
// from the one before in files changed in place, one come or one gone.
constexpr std::size_t NearSearch = 16;

}  // namespace

std::string_view DateOfHead(std::string_view head) {
    std::size_t at = 0;
    return DateOfLine(NextLine(head, at)).value_or(std::string_view());
}

std::vector<std::string_view> SplitLines(std::string_view files) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < files.size();) {
        const void* found = std::memchr(files.data() + at, '\n', files.size() - at);
        const std::size_t end =
            found == nullptr
                ? files.size()
                : static_cast<std::size_t>(static_cast<const char*>(found) - files.data()) + 1;
        lines.push_back(files.substr(at, end - at));
        at = end;
    }
    return lines;
}

StoreBuilder::StoreBuilder(StoreContent content) : content_(std::move(content)) {
    const std::size_t count = content_.versions.size();
    next_.resize(count);
    for (std::size_t index = 0; index < count; ++index) {
        next_[index] = index + 1 < count ? static_cast<std::uint32_t>(index + 1) : None;
    }
    firstVersion_ = count > 0 ? 0 : None;
    if (content_.entries.empty()) {
        return;
    }
    const auto newest = static_cast<std::uint32_t>(content_.entries.size() - 1);
    for (std::size_t index = 0; index < count; ++index) {
        LineVersion& version = content_.versions[index];
        if (version.last == newest) {
            version.last = Open;
            alive_.push_back(static_cast<std::uint32_t>(index));
        }
    }
}

std::uint32_t StoreBuilder::keep(std::string_view line, std::uint32_t after) {
    const auto index = static_cast<std::uint32_t>(content_.versions.size());
    content_.versions.push_back({static_cast<std::uint32_t>(content_.entries.size()), Open,
                                 content_.texts.size(), static_cast<std::uint32_t>(line.size())});
    const char* const textsBefore = content_.texts.data();
    content_.texts += line;
    // The table of the entry before's lines points into the texts: where they moved, it is
    // built again when next needed.
    if (content_.texts.data() != textsBefore) {
        oldLines_.clear();
    }
    if (after == None) {
        next_.push_back(firstVersion_);
        firstVersion_ = index;
    } else {
        next_.push_back(next_[after]);
        next_[after] = index;
    }
    return index;
}

// Where the old and the new lines from i and j meet again, as near as it can be seen: the
// old lines skipped (gone) and the new ones (kept anew). False when they never meet.
bool StoreBuilder::findNextMatch(const std::vector<std::string_view>& lines, std::size_t i,
                                 std::size_t j, std::size_t& skipOld, std::size_t& skipNew) {
    for (std::size_t distance = 1; distance <= 2 * NearSearch; ++distance) {
        for (std::size_t old = 0; old <= distance; ++old) {
            const std::size_t fresh = distance - old;
            if (i + old < alive_.size() && j + fresh < lines.size() &&
                lineOf(alive_[i + old]) == lines[j + fresh]) {
                skipOld = old;
                skipNew = fresh;
                return true;
            }
        }
    }
    // Built once an entry, when first needed: a line found before i was passed already.
    if (oldLines_.empty()) {
        for (std::size_t old = alive_.size(); old-- > 0;) {
            oldLines_[lineOf(alive_[old])] = old;
        }
    }
    for (std::size_t fresh = j; fresh < lines.size(); ++fresh) {
        if (const auto found = oldLines_.find(lines[fresh]);
            found != oldLines_.end() && found->second >= i) {
            skipOld = found->second - i;
            skipNew = fresh - j;
            return true;
        }
    }
    return false;
}

void StoreBuilder::carryOver(const std::vector<std::string_view>& lines) {
    const auto previous = static_cast<std::uint32_t>(content_.entries.size() - 1);
    std::vector<std::uint32_t> alive;
    alive.reserve(lines.size());
    std::size_t i = 0;  // in the entry before
    std::size_t j = 0;  // in this one
    const auto endOld = [&](std::size_t from, std::size_t to) {
        for (std::size_t old = from; old < to; ++old) {
            content_.versions[alive_[old]].last = previous;
        }
    };
    // Lines that take the place of as many gone ones follow them in the order of versions:
    // a file changed in place then lies next to its former line, which it mostly repeats.
    const auto keepNew = [&](std::size_t from, std::size_t to, std::size_t replacing) {
        std::uint32_t after = alive.empty() ? None : alive.back();
        for (std::size_t fresh = from; fresh < to; ++fresh) {
            if (fresh - from < replacing) {
                after = alive_[i + fresh - from];
            }
            after = keep(lines[fresh], after);
            alive.push_back(after);
        }
    };
    while (i < alive_.size() && j < lines.size()) {
        if (lineOf(alive_[i]) == lines[j]) {
            alive.push_back(alive_[i++]);
            ++j;
            continue;
        }
        std::size_t skipOld = 0;
        std::size_t skipNew = 0;
        if (!findNextMatch(lines, i, j, skipOld, skipNew)) {
            break;
        }
        endOld(i, i + skipOld);
        keepNew(j, j + skipNew, std::min(skipOld, skipNew));
        i += skipOld;
        j += skipNew;
    }
    endOld(i, alive_.size());
    keepNew(j, lines.size(), 0);
    alive_.swap(alive);
    oldLines_.clear();
}

void StoreBuilder::add(const StoredEntryFacts& facts, std::string_view files) {
    // The entry's lines are kept under its number, which is how many came before it.
    const std::vector<std::string_view> lines = SplitLines(files);
    if (content_.entries.empty()) {
        for (const std::string_view line : lines) {
            alive_.push_back(keep(line, alive_.empty() ? None : alive_.back()));
        }
    } else {
        carryOver(lines);
    }
    content_.entries.push_back(facts);
}

StoreContent StoreBuilder::finish() {
    const auto newest = static_cast<std::uint32_t>(content_.entries.size() - 1);
    StoreContent ordered;
    ordered.entries = std::move(content_.entries);
    ordered.absorbed = content_.absorbed;
    ordered.versions.reserve(content_.versions.size());
    ordered.texts.reserve(content_.texts.size());
    for (std::uint32_t at = firstVersion_; at != None; at = next_[at]) {
        LineVersion version = content_.versions[at];
        const std::string_view text = content_.text(version);
        version.offset = ordered.texts.size();
        version.last = version.last == Open ? newest : version.last;
        ordered.texts += text;
        ordered.versions.push_back(version);
    }
    content_ = {};
    next_.clear();
    alive_.clear();
    firstVersion_ = None;
    return ordered;
}

}  // namespace kestrava::history
