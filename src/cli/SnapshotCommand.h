#pragma once

#include <string>

#include "cli/Console.h"
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
// whole, 1 when it was written with failures, 2 when nothing was written.
int TakeSnapshot(const std::string& folder, const std::string& logPath, SnapshotSeams seams,
                 Console& console);

}  // namespace kestrava::cli
