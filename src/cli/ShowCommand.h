#pragma once

#include <cstdint>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LoggedEntry.h"

namespace kestrava::cli {

// kestrava-log show [N] [--csv | --json]: the files of one entry (the newest unless
// given), as logged, or as CSV with a header row "path,size,modified", or as a JSON
// array. Throws RuntimeError when the entry isn't there.
int ShowEntry(const HistoryLog& log, const std::vector<std::int64_t>& numbers, Format format,
              Console& console);

}  // namespace kestrava::cli
