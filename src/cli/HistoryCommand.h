#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LoggedEntry.h"
#include "history/PathFilter.h"

namespace kestrava::cli {

// kestrava-log history PATTERN... [--json]: for every path a pattern matches in any
// entry (and the filter keeps), in the paths' byte order, the entries where it
// appeared, changed (size or date, before and after) and vanished. 0 when a path
// matched, 1 when none did. Throws RuntimeError when the history can't be read.
int ShowHistory(HistoryLog& log, const std::vector<std::string>& asked, Format format,
                const history::PathFilter& filter, Console& console);

}  // namespace kestrava::cli
