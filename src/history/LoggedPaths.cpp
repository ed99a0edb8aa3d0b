#include "history/LoggedPaths.h"

#include <cstring>

#include "history/FileLine.h"

namespace kestrava::history {

std::string_view BelowRoot(std::string_view loggedPath, const PatternRules& rules) {
    while (!loggedPath.empty() && (loggedPath.front() == '/' ||
                                   (rules.backslashSeparates && loggedPath.front() == '\\'))) {
        loggedPath.remove_prefix(1);
    }
    return loggedPath;
}

bool KeepsLoggedPath(const PathFilter& filter, std::string_view loggedPath) {
    return filter.empty() || filter.keeps(BelowRoot(loggedPath, filter.rules()), false);
}

void LeaveOutExcluded(std::string& files, const PathFilter& filter) {
    if (filter.empty()) {
        return;
    }
    // Kept lines move down over the ones left out, in place.
    std::size_t kept = 0;
    for (std::size_t at = 0; at < files.size();) {
        const std::size_t start = at;
        const auto file = ParseFileLine(NextLine(files, at));
        if (file && !KeepsLoggedPath(filter, file->path)) {
            continue;
        }
        if (kept != start) {
            std::memmove(files.data() + kept, files.data() + start, at - start);
        }
        kept += at - start;
    }
    files.resize(kept);
}

}  // namespace kestrava::history
