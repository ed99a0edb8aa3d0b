#pragma once

#include <string_view>
#include <vector>

#include "history/PathPattern.h"

namespace kestrava::history {

enum class PatternKind { Include, Exclude };

// Which paths below a root folder count, by patterns in the order given: the last
// pattern that matches a path decides whether it is kept. What a folder's verdict
// decides holds for everything below it: nothing below a folder left out is kept (its
// files were never read), and a file below a folder included is kept unless a pattern
// of its own leaves it out. A path that no pattern decides is kept, unless the first
// pattern includes: then only what is included is kept ("--include '*.docx'").
//
// Paths are relative to the root, without a separator at either end. Once made, the
// filter is only read, so any number of threads may ask it at once.
class PathFilter {
public:
    explicit PathFilter(PatternRules rules = PatternRules::Platform()) : rules_(rules) {}

    // Throws RuntimeError naming the pattern when it can't be read.
    void add(PatternKind kind, std::string_view pattern);

    bool empty() const { return patterns_.empty(); }
    const PatternRules& rules() const { return rules_; }

    bool keeps(std::string_view path, bool folder) const;

    // keeps() for a path whose every folder goesInto() let a walk into, as a walk asks:
    // what those folders decided matters only after a first include.
    bool keepsInWalkedFolder(std::string_view path, bool folder) const;

    // Whether a walk goes into the folder: unless a pattern leaves it, or a folder above
    // it, out. A folder that is merely not included is walked, for what it may hold.
    bool goesInto(std::string_view folder) const;

private:
    enum class Verdict { Undecided, Included, Excluded };

    struct Entry {
        PathPattern pattern;
        PatternKind kind;
    };

    Verdict verdict(std::string_view path, bool folder) const;

    PatternRules rules_;
    std::vector<Entry> patterns_;
};

}  // namespace kestrava::history
