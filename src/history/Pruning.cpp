#include "history/Pruning.h"

#include <algorithm>

#include "history/EntryScans.h"
#include "history/HistoryRewrite.h"
#include "history/StoreContent.h"

namespace kestrava::history {
namespace {

// The history's entries, oldest first, and where the text log's lie.
struct FoundEntries {
    std::vector<DatedEntry> dated;
    std::vector<EntrySpan> text;
};

FoundEntries FindEntries(FoundHistory& history) {
    FoundEntries found;
    const std::size_t stored = history.store ? history.store->count() : 0;
    for (std::size_t at = 0; at < stored; ++at) {
        const auto number = static_cast<std::int64_t>(at + 1);
        found.dated.push_back(
            {number, std::string(DateOfHead(history.store->facts(at, number).head))});
    }
    ForwardEntries text(history.log, history.end.entriesEnd, history.end.entriesBegin);
    while (auto span = text.next()) {
        found.dated.push_back({static_cast<std::int64_t>(found.dated.size() + 1), span->date});
        found.text.push_back(std::move(*span));
    }
    return found;
}

// The text log keeps the entries from the first of those that stay to its end; the
// ones before leave it, those that stay among them for the store.
HistoryRewrite RewriteFor(const FoundHistory& history, const FoundEntries& found,
                          const std::vector<EntryVerdict>& verdicts) {
    const std::size_t stored = found.dated.size() - found.text.size();
    std::vector<bool> stay;
    stay.reserve(verdicts.size());
    for (const EntryVerdict& verdict : verdicts) {
        stay.push_back(verdict.reasons.kept());
    }
    std::size_t keptFrom = found.text.size();
    while (keptFrom > 0 && stay[stored + keptFrom - 1]) {
        --keptFrom;
    }
    HistoryRewrite rewrite;
    rewrite.leaveTextAt = keptFrom == 0                  ? history.end.entriesBegin
                          : keptFrom < found.text.size() ? found.text[keptFrom].start
                                                         : history.end.entriesEnd;
    const auto storedEnd = stay.begin() + static_cast<std::ptrdiff_t>(stored);
    if (std::find(stay.begin(), storedEnd, false) != storedEnd) {
        rewrite.storedStay.assign(stay.begin(), storedEnd);
    }
    rewrite.leavingStay.assign(storedEnd, storedEnd + static_cast<std::ptrdiff_t>(keptFrom));
    return rewrite;
}

}  // namespace

PruneOutcome PruneHistory(platform::FileSystem& fileSystem, const std::string& logPath,
                          const KeepPolicy& policy, EntryTimeReader& reader,
                          const platform::Locale& locale, bool dryRun,
                          const std::function<void(CompactionStep)>& afterStep) {
    if (!dryRun) {
        FinishStoppedSwitch(fileSystem, logPath);
    }
    FoundHistory history(fileSystem, logPath);
    const FoundEntries found = FindEntries(history);
    PruneOutcome outcome;
    outcome.verdicts = JudgeEntries(found.dated, policy, reader, [&](const std::string& date) {
        return locale.fromSystemEncoding(date);
    });
    if (!dryRun) {
        outcome.report = RewriteHistory(fileSystem, history,
                                        RewriteFor(history, found, outcome.verdicts), afterStep);
    }
    return outcome;
}

}  // namespace kestrava::history
