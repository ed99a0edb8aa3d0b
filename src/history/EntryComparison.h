#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "history/FileLine.h"

namespace kestrava::history {

struct ModifiedFile {
    FileLine before;
    FileLine after;
};

// What changed from one entry's files to another's. Each entry is a multiset of paths:
// a path may be listed twice in one entry (two names that the log's encoding writes
// alike), and every listing is accounted for. Files whose lines are the same in both
// are unchanged; the other listings of a path are paired in the order they come, a pair
// being a modified file (its size or date text differs), and what is left over is added
// or removed. The views point into the entries compared.
struct EntryChanges {
    std::vector<FileLine> added;
    std::vector<FileLine> removed;
    std::vector<ModifiedFile> modified;
    // Lines that name no file, among those that had to be read one by one (a line that
    // is the same in both entries may not be).
    std::size_t unreadableBefore = 0;
    std::size_t unreadableAfter = 0;

    bool empty() const { return added.empty() && removed.empty() && modified.empty(); }
};

// Compares the files of two entries (their lines, each ended by a line feed). Two
// entries of one tree mostly list the same files in the same order, so the lines are
// walked side by side from both ends, skipping what is byte for byte the same; of the
// lines where the two part ways, those that both hold anywhere are set aside by a hash
// of the whole line, and only the rest are matched by their paths through a hash table.
EntryChanges CompareEntries(std::string_view before, std::string_view after);

// Puts each list in the byte order of the paths.
void SortByPath(EntryChanges& changes);

}  // namespace kestrava::history
