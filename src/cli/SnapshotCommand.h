#pragma once

#include <string>

#include "cli/Console.h"
#include "history/PathFilter.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace kestrava::cli {

struct SnapshotSeams {
    platform::FileSystem& fileSystem;
    const platform::Clock& clock;
    const platform::Locale& locale;
};

// kestrava-log snapshot FOLDER: one snapshot of the folder (made absolute) with the
// window's own engine, appended to the log as one entry. What the window would show as
// error reports goes to standard error, one line each. 0 when the entry was written
// whole, 1 when it was written with failures, 2 when nothing was written. What the filter
// leaves out, by paths below the folder, is neither read nor logged; an empty filter
// leaves the entry as the window would write it.
int TakeSnapshot(const std::string& folder, const std::string& logPath,
                 const history::PathFilter& filter, SnapshotSeams seams, Console& console);

}  // namespace kestrava::cli
