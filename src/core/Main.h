#pragma once

#include <cstdint>
#include <string>

#include "platform/Environment.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"

// The small helpers that the window and the logging engine share.
namespace kestrava::core {

// The user's desktop folder followed by a separator.
// Throws RuntimeError when the desktop folder can't be named.
std::string DesktopFolderPath(const platform::Environment& environment);

// True when the file system reports a last-change time for the path (a file or a
// folder); false on any failure. Never throws.
bool FileExists(const platform::FileSystem& fileSystem, const std::string& path);

// Where a file that ships with the program lies: beside the executable, as in a build
// folder, or else in the data folder of an installation, <program folder>/../share/kestrava/.
// When neither holds the file, its path beside the executable, so that the caller's own
// check finds it missing there. The relative path may name a sub-folder ("x/o.cjs").
// Never throws.
std::string ProgramDataFile(const platform::FileSystem& fileSystem,
                            const platform::Environment& environment,
                            const std::string& relativePath);

// The time of day that lies the given seconds after midnight, "hh:mm:ss". Whole days
// wrap, and a negative count gives the text of its magnitude.
std::string FormatCountdown(std::int32_t seconds);

// Lets pending events run, then deletes exactly that file. Never reports anything.
void RemoveFile(platform::FileSystem& fileSystem, platform::EventPump& events,
                const std::string& path);

}  // namespace kestrava::core
