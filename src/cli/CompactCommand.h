#pragma once

#include <cstdint>
#include <string>

#include "cli/Console.h"
#include "platform/FileSystem.h"

namespace kestrava::cli {

// kestrava-log compact [--keep-text N]: moves every entry of the text log but the newest
// N (1 unless given) into the history store beside it, and says how many moved, how many
// the store holds, its size and how long writers were held off. Throws RuntimeError when
// the log or the store can't be read or written.
int CompactLog(platform::FileSystem& fileSystem, const std::string& logPath, std::uint64_t keepText,
               Console& console);

}  // namespace kestrava::cli
