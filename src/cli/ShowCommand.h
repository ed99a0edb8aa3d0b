#pragma once

#include <cstdint>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LoggedEntry.h"
#include "history/PathFilter.h"

namespace kestrava::cli {

// kestrava-log show [N] [--csv | --json | --raw]: the files of one entry (the newest
// unless given), as logged, or as CSV with a header row "path,size,modified", or as a
// JSON array; or the whole entry byte for byte as the log held it, its date line and
// header line included; without the files the filter leaves out. Throws RuntimeError
// when the entry isn't there.
int ShowEntry(HistoryLog& log, const std::vector<std::int64_t>& numbers, Format format,
              const history::PathFilter& filter, Console& console);

}  // namespace kestrava::cli
