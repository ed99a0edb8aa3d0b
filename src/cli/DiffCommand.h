#pragma once

#include <cstdint>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LoggedEntry.h"
#include "history/PathFilter.h"

namespace kestrava::cli {

// kestrava-log diff [FROM [TO]] [--json]: what changed from one entry to another (the
// last two unless given; one number is compared with the newest), one line per changed
// path in the paths' byte order, then a summary. 0 when nothing changed, 1 when
// something did. Files the filter leaves out are in neither entry. Throws RuntimeError
// when an entry isn't there.
int DiffEntries(HistoryLog& log, const std::vector<std::int64_t>& numbers, Format format,
                const history::PathFilter& filter, Console& console);

}  // namespace kestrava::cli
