#pragma once

#include <string>
#include <string_view>

#include "history/PathFilter.h"

namespace kestrava::history {

// The log holds full paths and not the folder that was snapshotted, so a reader's
// patterns are matched against the path as logged, as if the root were the file
// system's: a pattern without "/" matches a name at any depth, and an anchored one
// names the path from its start ("/home/ann/Documents/*.odt", "C:/Users/ann/**").
// The separators a path begins with (the root's "/", a share's "\\") are no name.
std::string_view BelowRoot(std::string_view loggedPath, const PatternRules& rules);

// Whether the filter keeps the file of a logged path.
bool KeepsLoggedPath(const PathFilter& filter, std::string_view loggedPath);

// Leaves out of an entry's file lines, each ended by a line feed, those whose path the
// filter excludes; lines that name no file stay, to be reported as ever.
void LeaveOutExcluded(std::string& files, const PathFilter& filter);

}  // namespace kestrava::history
