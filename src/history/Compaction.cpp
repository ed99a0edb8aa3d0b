#include "history/Compaction.h"

#include "history/EntryScans.h"
#include "history/HistoryRewrite.h"

namespace kestrava::history {
namespace {

// Where the text log's newest `keepText` whole entries begin: the entries before leave it.
std::uint64_t NewestKeptStart(const FoundHistory& history, std::uint64_t keepText) {
    std::uint64_t start = history.end.entriesEnd;
    BackwardEntries newest(history.log, history.end.entriesEnd, history.end.entriesBegin);
    for (std::uint64_t kept = 0; kept < keepText; ++kept) {
        const auto entry = newest.next();
        if (!entry) {
            return history.end.entriesBegin;
        }
        start = entry->start;
    }
    return start;
}

}  // namespace

CompactionReport CompactHistory(platform::FileSystem& fileSystem, const std::string& logPath,
                                std::uint64_t keepText,
                                const std::function<void(CompactionStep)>& afterStep) {
    FinishStoppedSwitch(fileSystem, logPath);
    FoundHistory history(fileSystem, logPath);
    return RewriteHistory(fileSystem, history, {NewestKeptStart(history, keepText), {}, {}},
                          afterStep);
}

}  // namespace kestrava::history
