#pragma once

#include <vector>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "history/KeepRules.h"

namespace kestrava::cli {

// What prune decided, every entry oldest first, as text or JSON (Format::Csv is taken
// as text). Text gives a line an entry, "N  DATE  keep  RULES" or "N  DATE  remove",
// then how many stay and go; a dry run says what would go. JSON gives an array of
// {"entry", "date", "kept", "rules"}, whatever the run.
void WritePruneReport(const std::vector<history::EntryVerdict>& verdicts, Format format,
                      bool dryRun, Console& console);

}  // namespace kestrava::cli
