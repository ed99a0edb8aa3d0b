#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/Compaction.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"
#include "history/StoreFile.h"
#include "platform/FileSystem.h"

namespace kestrava::history {

// Puts in place the cut log that a switch stopped midway left waiting (the log missing,
// or empty), with the writers held off. Throws RuntimeError when the files can't be read
// or switched.
void FinishStoppedSwitch(platform::FileSystem& fileSystem, const std::string& logPath);

// The same, for a writer that holds the log's lock and found the log empty: tells
// whether the cut log took the log's place.
bool SwitchInWaitingCutLog(platform::FileSystem& fileSystem, const std::string& logPath);

// The history as a rewrite finds it: the store read whole, and the text log within a size
// it had while no program appended to it. A switch stopped midway is read as it will be
// once finished, its cut log as the text log.
struct FoundHistory {
    FoundHistory(platform::FileSystem& fileSystem, const std::string& logPath);

    std::string logPath;
    std::string storePath;
    std::optional<std::string> storeBytes;
    std::optional<StoreReader> store;
    AbsorbedText absorbed;  // the store's
    std::string textPath;   // the log, or a stopped switch's cut log
    std::uint64_t wholeSize = 0;
    LogFile log;
    LogEnd end;  // the text log's own whole entries, past what the store took in
};

// What a rewrite does: the text log's entries in [end.entriesBegin, leaveTextAt) leave it,
// those that stay going into the store; of the stored ones, those that stay are kept.
struct HistoryRewrite {
    std::uint64_t leaveTextAt = 0;
    std::vector<bool> storedStay;   // by the store's entries; empty when all stay
    std::vector<bool> leavingStay;  // by the entries leaving the text; all stay beyond it
};

// Writes the new store and the cut text log beside the old ones, flushed, then, with
// the writers held off, copies what they appended meanwhile and puts both in place.
// Killed at any moment, the history reads as before or as after; run again, a rewrite
// finishes a cut left undone. Throws RuntimeError when a file can't be read or written,
// or the history changed under it: nothing is then switched.
CompactionReport RewriteHistory(platform::FileSystem& fileSystem, FoundHistory& history,
                                const HistoryRewrite& rewrite,
                                const std::function<void(CompactionStep)>& afterStep);

}  // namespace kestrava::history
