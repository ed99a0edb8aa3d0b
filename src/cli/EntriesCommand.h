#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LoggedEntry.h"

namespace kestrava::cli {

// kestrava-log entries [--json]: every whole entry from the oldest on, each with its
// number, its date and time as logged, how many files it lists and what changed against
// the entry before it. Reads the log once, holding two entries at a time. Throws
// RuntimeError when the log holds no whole entry.
int ListEntries(HistoryLog& log, Format format, Console& console);

}  // namespace kestrava::cli
