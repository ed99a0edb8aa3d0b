#include "engine/SnapshotRunner.h"

#include "engine/ScopedFlag.h"

namespace kestrava::engine {

SnapshotRequest SnapshotRunner::requestSnapshot() {
    if (running_) {
        requestedAgain_ = true;
        return SnapshotRequest::Queued;
    }
    const ScopedFlag running(running_);
    do {
        requestedAgain_ = false;
        const SnapshotTarget target = target_();
        LogFilesNow(target.folder, target.historyLogPath, rows_, tools_);
    } while (requestedAgain_);
    return SnapshotRequest::Taken;
}

}  // namespace kestrava::engine
