#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LoggedEntry.h"
#include "history/PathFilter.h"

namespace kestrava::cli {

// kestrava-log entries [--json]: every whole entry from the oldest on, each with its
// number, its date and time as logged, how many files it lists and what changed against
// the entry before it. Reads the log once, holding two entries at a time. Throws
// RuntimeError when the log holds no whole entry. With a filter, the files it leaves out
// are not counted, nor their changes.
int ListEntries(HistoryLog& log, Format format, const history::PathFilter& filter,
                Console& console);

}  // namespace kestrava::cli
