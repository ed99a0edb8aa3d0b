#include "history/PathFilter.h"

namespace kestrava::history {
namespace {

// Visits the folders that hold the path, from the root's child down, until the visitor
// answers false.
template <typename Visit>
void ForEachFolderAbove(std::string_view path, const PatternRules& rules, Visit visit) {
    for (std::size_t at = 1; at < path.size(); ++at) {
        const char c = path[at];
        if ((c == '/' || (rules.backslashSeparates && c == '\\')) && !visit(path.substr(0, at))) {
            return;
        }
    }
}

}  // namespace

void PathFilter::add(PatternKind kind, std::string_view pattern) {
    patterns_.push_back({PathPattern(pattern, rules_), kind});
}

PathFilter::Verdict PathFilter::verdict(std::string_view path, bool folder) const {
    const std::size_t nameStart = PathPattern::NameStart(path, rules_);
    for (auto entry = patterns_.rbegin(); entry != patterns_.rend(); ++entry) {
        if (entry->pattern.matches(path, nameStart, folder)) {
            return entry->kind == PatternKind::Include ? Verdict::Included : Verdict::Excluded;
        }
    }
    return Verdict::Undecided;
}

bool PathFilter::keeps(std::string_view path, bool folder) const {
    if (patterns_.empty()) {
        return true;
    }
    bool excludedAbove = false;
    bool includedAbove = false;
    ForEachFolderAbove(path, rules_, [&](std::string_view above) {
        const Verdict decided = verdict(above, true);
        excludedAbove = decided == Verdict::Excluded;
        includedAbove = includedAbove || decided == Verdict::Included;
        return !excludedAbove;
    });
    if (excludedAbove) {
        return false;
    }
    switch (verdict(path, folder)) {
        case Verdict::Included:
            return true;
        case Verdict::Excluded:
            return false;
        case Verdict::Undecided:
            break;
    }
    return includedAbove || patterns_.front().kind == PatternKind::Exclude;
}

bool PathFilter::keepsInWalkedFolder(std::string_view path, bool folder) const {
    if (patterns_.empty()) {
        return true;
    }
    if (patterns_.front().kind == PatternKind::Include) {
        return keeps(path, folder);
    }
    return verdict(path, folder) != Verdict::Excluded;
}

bool PathFilter::goesInto(std::string_view folder) const {
    if (patterns_.empty()) {
        return true;
    }
    bool excluded = false;
    ForEachFolderAbove(folder, rules_, [&](std::string_view above) {
        excluded = verdict(above, true) == Verdict::Excluded;
        return !excluded;
    });
    return !excluded && verdict(folder, true) != Verdict::Excluded;
}

}  // namespace kestrava::history
