#include "history/EntryComparison.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "history/SameLines.h"

namespace kestrava::history {
namespace {

// How far ahead the side-by-side walk looks for a path that the other entry lists next:
// a file added or removed here and there is stepped over without losing step.
constexpr std::size_t Lookahead = 32;
// A file replaced by another (one gone, one come in its place) is stepped over too; so
// many in a row, though, mean the two entries have lost step, and the walk ends.
constexpr int MostReplacedInARow = 8;

// Compared in large pieces, memcmp runs at memory speed; the piece where the two differ
// is narrowed down in small ones.
constexpr std::size_t LargePiece = 4096;
constexpr std::size_t SmallPiece = 64;

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    const std::size_t length = std::min(a.size(), b.size());
    std::size_t at = 0;
    for (const std::size_t piece : {LargePiece, SmallPiece}) {
        while (at + piece <= length && std::memcmp(a.data() + at, b.data() + at, piece) == 0) {
            at += piece;
        }
    }
    while (at < length && a[at] == b[at]) {
        ++at;
    }
    return at;
}

std::size_t CommonSuffix(std::string_view a, std::string_view b) {
    const std::size_t length = std::min(a.size(), b.size());
    std::size_t matched = 0;
    for (const std::size_t piece : {LargePiece, SmallPiece}) {
        while (matched + piece <= length &&
               std::memcmp(a.data() + a.size() - matched - piece,
                           b.data() + b.size() - matched - piece, piece) == 0) {
            matched += piece;
        }
    }
    while (matched < length && a[a.size() - 1 - matched] == b[b.size() - 1 - matched]) {
        ++matched;
    }
    return matched;
}

// Where the line that holds `at` ends, after its line feed.
std::size_t NextLineStart(std::string_view text, std::size_t at) {
    const std::size_t feed = text.find('\n', at);
    return feed == std::string_view::npos ? text.size() : feed + 1;
}

// The path of the line at `at`, which moves on to the next line; nothing at the end, or
// where the line names no file.
std::optional<std::string_view> PathAt(std::string_view lines, std::size_t& at) {
    if (at >= lines.size()) {
        return std::nullopt;
    }
    const std::size_t next = NextLineStart(lines, at);
    const auto file = ParseFileLine(WithoutLineEnd(lines.substr(at, next - at)));
    at = next;
    return file ? std::optional(file->path) : std::nullopt;
}

// The lines of one entry that are still to be compared: [start, end) of its text, each
// bound a line start.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text), end_(text.size()) {}

    bool empty() const { return start_ == end_; }
    std::string_view rest() const { return text_.substr(start_, end_ - start_); }

    // The first and the last line, with their line ends.
    std::string_view first() const { return rest().substr(0, NextLineStart(rest(), 0)); }
    std::string_view last() const {
        const std::string_view lines = rest();
        const std::size_t feed =
            lines.size() < 2 ? std::string_view::npos : lines.rfind('\n', lines.size() - 2);
        return lines.substr(feed == std::string_view::npos ? 0 : feed + 1);
    }

    void dropFirst(std::size_t bytes) { start_ += bytes; }
    void dropLast(std::size_t bytes) { end_ -= bytes; }

private:
    std::string_view text_;
    std::size_t start_ = 0;
    std::size_t end_;
};

class Matcher {
public:
    Matcher(std::string_view before, std::string_view after) : before_(before), after_(after) {}

    EntryChanges run() {
        walkFromStart();
        walkFromEnd();
        // What the walks left need not line up at all: lines found in both, wherever they
        // are, are the same files and are set aside before anything is read by path.
        KeepLinesNotInBoth(before_.rest(), after_.rest(), beforePool_, afterPool_);
        return matchByPath();
    }

private:
    struct Listing {
        std::string_view line;
        FileLine file;
        std::uint32_t next;
        bool after;
    };

    struct Group {
        std::uint32_t first;
        std::uint32_t last;
    };

    static constexpr std::uint32_t NoListing = UINT32_MAX;

    // True when some lines were the same.
    bool skipSameStart() {
        const std::string_view a = before_.rest();
        const std::size_t common = CommonPrefix(a, after_.rest());
        const std::size_t lastFeed = a.substr(0, common).rfind('\n');
        if (lastFeed == std::string_view::npos) {
            return false;
        }
        before_.dropFirst(lastFeed + 1);
        after_.dropFirst(lastFeed + 1);
        return true;
    }

    // The same whole lines at the end: those after a line feed within the common bytes,
    // or all of them when both sides have a line start where the common bytes begin.
    void skipSameEnd() {
        const std::string_view a = before_.rest();
        const std::string_view b = after_.rest();
        const std::size_t common = CommonSuffix(a, b);
        const auto lineStartsAt = [common](std::string_view side) {
            const std::size_t at = side.size() - common;
            return at == 0 || side[at - 1] == '\n';
        };
        std::size_t same = 0;
        if (common > 0 && lineStartsAt(a) && lineStartsAt(b)) {
            same = common;
        } else if (const std::size_t feed = a.find('\n', a.size() - common);
                   feed != std::string_view::npos) {
            same = a.size() - feed - 1;
        }
        before_.dropLast(same);
        after_.dropLast(same);
    }

    // Where the paths part, a path that the other side lists a few lines further on
    // brings the walk back in step: the lines before it are kept for matching. Both sides
    // are looked at line by line together, so that a file added costs as little as a file
    // removed.
    bool catchUp(std::string_view pathA, std::string_view pathB) {
        const std::string_view linesA = before_.rest();
        const std::string_view linesB = after_.rest();
        std::size_t atA = NextLineStart(linesA, 0);
        std::size_t atB = NextLineStart(linesB, 0);
        for (std::size_t distance = 1; distance <= Lookahead; ++distance) {
            const std::size_t lineB = atB;
            if (PathAt(linesB, atB) == pathA) {
                keepFirst(after_, afterPool_, lineB);
                return true;
            }
            const std::size_t lineA = atA;
            if (PathAt(linesA, atA) == pathB) {
                keepFirst(before_, beforePool_, lineA);
                return true;
            }
        }
        return false;
    }

    void walkFromStart() {
        for (int replacedInARow = 0;;) {
            if (skipSameStart()) {
                replacedInARow = 0;
            }
            if (before_.empty() || after_.empty()) {
                return;
            }
            const std::string_view a = before_.first();
            const std::string_view b = after_.first();
            const auto fileA = ParseFileLine(WithoutLineEnd(a));
            const auto fileB = ParseFileLine(WithoutLineEnd(b));
            const bool samePath = fileA && fileB && fileA->path == fileB->path;
            // A line that names no file is kept aside, and the walk goes on.
            if (!fileA || !fileB || samePath) {
                if (!fileA || samePath) {
                    keepFirst(before_, beforePool_, a.size());
                }
                if (!fileB || samePath) {
                    keepFirst(after_, afterPool_, b.size());
                }
                continue;
            }
            if (catchUp(fileA->path, fileB->path)) {
                continue;
            }
            if (++replacedInARow > MostReplacedInARow) {
                return;
            }
            keepFirst(before_, beforePool_, a.size());
            keepFirst(after_, afterPool_, b.size());
        }
    }

    void walkFromEnd() {
        for (;;) {
            skipSameEnd();
            if (before_.empty() || after_.empty()) {
                return;
            }
            const std::string_view a = before_.last();
            const std::string_view b = after_.last();
            const auto fileA = ParseFileLine(WithoutLineEnd(a));
            const auto fileB = ParseFileLine(WithoutLineEnd(b));
            const bool samePath = fileA && fileB && fileA->path == fileB->path;
            if (fileA && fileB && !samePath) {
                return;
            }
            if (!fileA || samePath) {
                keepLast(before_, beforePool_, a);
            }
            if (!fileB || samePath) {
                keepLast(after_, afterPool_, b);
            }
        }
    }

    static void keepFirst(Lines& side, std::vector<std::string_view>& pool, std::size_t bytes) {
        const std::string_view kept = side.rest().substr(0, bytes);
        for (std::size_t at = 0; at < kept.size();) {
            const std::size_t feed = kept.find('\n', at);
            const std::size_t next = feed == std::string_view::npos ? kept.size() : feed + 1;
            pool.push_back(WithoutLineEnd(kept.substr(at, next - at)));
            at = next;
        }
        side.dropFirst(bytes);
    }

    static void keepLast(Lines& side, std::vector<std::string_view>& pool, std::string_view line) {
        pool.push_back(WithoutLineEnd(line));
        side.dropLast(line.size());
    }

    void list(std::string_view line, bool after, EntryChanges& changes) {
        const auto file = ParseFileLine(line);
        if (!file) {
            ++(after ? changes.unreadableAfter : changes.unreadableBefore);
            return;
        }
        const auto index = static_cast<std::uint32_t>(listings_.size());
        listings_.push_back({line, *file, NoListing, after});
        const auto [found, added] =
            groupOf_.try_emplace(file->path, static_cast<std::uint32_t>(groups_.size()));
        if (added) {
            groups_.push_back({index, index});
        } else {
            Group& group = groups_[found->second];
            listings_[group.last].next = index;
            group.last = index;
        }
    }

    // One path's listings in both entries: the same lines first, then pairs in order.
    void settle(const Group& group, EntryChanges& changes) {
        befores_.clear();
        afters_.clear();
        for (std::uint32_t at = group.first; at != NoListing; at = listings_[at].next) {
            (listings_[at].after ? afters_ : befores_).push_back(&listings_[at]);
        }
        for (const Listing*& before : befores_) {
            const auto same =
                std::find_if(afters_.begin(), afters_.end(), [&](const Listing* after) {
                    return after != nullptr && after->line == before->line;
                });
            if (same != afters_.end()) {
                *same = nullptr;
                before = nullptr;
            }
        }
        std::erase(befores_, nullptr);
        std::erase(afters_, nullptr);
        const std::size_t paired = std::min(befores_.size(), afters_.size());
        for (std::size_t index = 0; index < paired; ++index) {
            changes.modified.push_back({befores_[index]->file, afters_[index]->file});
        }
        for (std::size_t index = paired; index < befores_.size(); ++index) {
            changes.removed.push_back(befores_[index]->file);
        }
        for (std::size_t index = paired; index < afters_.size(); ++index) {
            changes.added.push_back(afters_[index]->file);
        }
    }

    EntryChanges matchByPath() {
        EntryChanges changes;
        const std::size_t pooled = beforePool_.size() + afterPool_.size();
        listings_.reserve(pooled);
        groupOf_.reserve(pooled);
        for (const std::string_view line : beforePool_) {
            list(line, false, changes);
        }
        for (const std::string_view line : afterPool_) {
            list(line, true, changes);
        }
        for (const Group& group : groups_) {
            settle(group, changes);
        }
        return changes;
    }

    Lines before_;
    Lines after_;
    std::vector<std::string_view> beforePool_;
    std::vector<std::string_view> afterPool_;
    std::vector<Listing> listings_;
    std::vector<Group> groups_;
    std::unordered_map<std::string_view, std::uint32_t> groupOf_;
    std::vector<const Listing*> befores_;
    std::vector<const Listing*> afters_;
};

}  // namespace

EntryChanges CompareEntries(std::string_view before, std::string_view after) {
    return Matcher(before, after).run();
}

// string_view compares bytes as unsigned numbers, as memcmp does: the paths' byte order.
void SortByPath(EntryChanges& changes) {
    const auto byPath = [](const FileLine& a, const FileLine& b) { return a.path < b.path; };
    std::stable_sort(changes.added.begin(), changes.added.end(), byPath);
    std::stable_sort(changes.removed.begin(), changes.removed.end(), byPath);
    std::stable_sort(
        changes.modified.begin(), changes.modified.end(),
        [](const ModifiedFile& a, const ModifiedFile& b) { return a.before.path < b.before.path; });
}

}  // namespace kestrava::history
