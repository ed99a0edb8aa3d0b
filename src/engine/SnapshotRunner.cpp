#include "engine/SnapshotRunner.h"

#include <utility>

#include "engine/ScopedFlag.h"

namespace kestrava::engine {

SnapshotRequest SnapshotRunner::requestSnapshot(AfterSnapshot afterwards) {
    waiting_.push_back(std::move(afterwards));
    if (running_) {
        return SnapshotRequest::Queued;
    }
    const ScopedFlag running(running_);
    while (!waiting_.empty()) {
        // Requests that come while this snapshot runs wait for the next one: the folder
        // they asked for may have changed meanwhile.
        const std::vector<AfterSnapshot> answered = std::exchange(waiting_, {});
        const SnapshotTarget target = target_();
        LogFilesNow(target.folder, target.historyLogPath, rows_, tools_);
        for (const AfterSnapshot& then : answered) {
            if (then) {
                then();
            }
        }
    }
    return SnapshotRequest::Taken;
}

}  // namespace kestrava::engine
