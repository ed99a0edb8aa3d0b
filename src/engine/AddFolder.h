#pragma once

#include <string>

#include "core/ErrorReport.h"
#include "engine/TreeWalk.h"
#include "platform/FileSystem.h"

namespace kestrava::engine {

struct WalkSeams {
    const platform::FileSystem& fileSystem;
    const core::ErrorReport& errorReport;
};

// Starts the walk over the folder and every folder below it, breadth-first (see
// TreeWalk). The folder itself is walked when it is a folder whose path lies within the
// platform's limit and, unless it is the root of a file system, no system folder. A
// failure to look up its attributes is reported under the walk's own tag, and the
// folder is walked as a plain one; everything after that stays silent. The filter, when
// given, leaves out more (see WalkFilter) and must outlive the walk.
TreeWalk GetSubDirectories2016(const std::string& folder, const WalkSeams& seams,
                               const WalkFilter* filter = nullptr);

// True when the path names a folder (links followed); false when it can't be looked up.
bool IsFolder(const platform::FileSystem& fileSystem, const std::string& path);

}  // namespace kestrava::engine
