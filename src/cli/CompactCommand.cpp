#include "cli/CompactCommand.h"

#include "history/Compaction.h"
#include "history/StoredHistory.h"

namespace kestrava::cli {

int CompactLog(platform::FileSystem& fileSystem, const std::string& logPath, std::uint64_t keepText,
               Console& console) {
    const history::CompactionReport report = history::CompactHistory(fileSystem, logPath, keepText);
    console.out() << report.moved << (report.moved == 1 ? " entry" : " entries") << " moved into "
                  << console.shown(history::StorePathOf(logPath)) << ", which holds "
                  << report.stored << (report.stored == 1 ? " entry" : " entries") << " in "
                  << report.storeBytes << " bytes; writers were held off for "
                  << report.lockHeld.count() << " ms\n";
    return 0;
}

}  // namespace kestrava::cli
