#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/Compaction.h"
#include "history/EntryTime.h"
#include "history/KeepRules.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace kestrava::history {

struct PruneOutcome {
    std::vector<EntryVerdict> verdicts;  // every entry, oldest first
    CompactionReport report;             // nothing done on a dry run
};

// Judges every whole entry of the history (the store's, then the text log's, numbered as
// the reading commands number them) by the policy, their dates read in the locale, and,
// unless it is a dry run, removes those no rule keeps from the store and the text log
// alike, with compaction's guarantees: the writers are held off only to put the files in
// place, what they append meanwhile stays, and a prune killed at any moment leaves the
// history as it was or as it is after, a prune run again finishing it. The text log's
// entries that stay but come before one that goes move into the store: a cut log can
// only lose its older part while it waits to be put in place. Throws RuntimeError as
// compaction does.
PruneOutcome PruneHistory(platform::FileSystem& fileSystem, const std::string& logPath,
                          const KeepPolicy& policy, EntryTimeReader& reader,
                          const platform::Locale& locale, bool dryRun,
                          const std::function<void(CompactionStep)>& afterStep = {});

}  // namespace kestrava::history
