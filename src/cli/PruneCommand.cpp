#include "cli/PruneCommand.h"

#include "cli/LoggedEntry.h"
#include "cli/PruneReport.h"
#include "history/Pruning.h"
#include "history/StoredHistory.h"

namespace kestrava::cli {

int PruneLog(platform::FileSystem& fileSystem, const platform::Clock& clock,
             const std::string& logPath, const Invocation& invocation, Console& console) {
    // Read as every command reads it: a log that is missing or empty is refused alike, and
    // a torn entry at its end is reported (it stays in the log).
    { const HistoryLog found(fileSystem, logPath, console); }
    history::EntryTimeReader reader(console.locale().dateTimeNames(), clock);
    const history::PruneOutcome outcome = history::PruneHistory(
        fileSystem, logPath, invocation.keep, reader, console.locale(), invocation.dryRun);
    if (outcome.verdicts.empty()) {
        throw NoWholeEntry(history::LogFile(fileSystem, logPath), console);
    }
    WritePruneReport(outcome.verdicts, invocation.format, invocation.dryRun, console);
    if (!invocation.dryRun && invocation.format != Format::Json) {
        const history::CompactionReport& report = outcome.report;
        console.out() << console.shown(history::StorePathOf(logPath)) << " holds " << report.stored
                      << (report.stored == 1 ? " entry" : " entries") << " in " << report.storeBytes
                      << " bytes; writers were held off for " << report.lockHeld.count() << " ms\n";
    }
    return 0;
}

}  // namespace kestrava::cli
