#pragma once

#include <string>
#include <string_view>

#include "history/Glob.h"

namespace kestrava::history {

// One pattern read as a .gitignore line is, matched against paths relative to a root
// folder (the folder snapshotted):
// - without a separator, or with one at its end only, it matches a name at any depth
//   ("*.tmp", "node_modules/");
// - with one at its start or in its middle, it matches from the root on ("/build",
//   "docs/*.pdf");
// - a separator at its end makes it match folders alone.
// What lies below a folder it matches is for the caller to decide (see PathFilter).
class PathPattern {
public:
    // Throws RuntimeError naming the pattern when it can't be read or names nothing.
    PathPattern(std::string_view text, PatternRules rules);

    // Whether the pattern matches the path itself; `folder` tells whether it is one.
    bool matches(std::string_view path, bool folder) const {
        return matches(path, NameStart(path, rules_), folder);
    }
    // The same, where the path's last name begins at nameStart.
    bool matches(std::string_view path, std::size_t nameStart, bool folder) const;

    // Where the path's last name begins.
    static std::size_t NameStart(std::string_view path, const PatternRules& rules);

    const std::string& text() const { return text_; }

private:
    std::string text_;
    PatternRules rules_;
    bool anchored_ = false;
    bool foldersOnly_ = false;
    Glob glob_;
};

}  // namespace kestrava::history
