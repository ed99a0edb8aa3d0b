#include "engine/SnapshotRunner.h"

#include <utility>

#include "engine/ScopedFlag.h"

namespace kestrava::engine {

SnapshotRequest SnapshotRunner::requestSnapshot(const SnapshotJob& job, AfterSnapshot afterwards) {
    next_.emplace(job);
    waiting_.push_back(std::move(afterwards));
    if (running_) {
        return SnapshotRequest::Queued;
    }
    const ScopedFlag running(running_);
    while (next_) {
        // Requests that come while this snapshot runs wait for the next one: the folder
        // they named may differ from this one's.
        const SnapshotJob taken = *std::exchange(next_, std::nullopt);
        const std::vector<AfterSnapshot> answered = std::exchange(waiting_, {});
        startOver_ = std::stop_source();
        LogFilesNow(taken.folder, taken.historyLogPath, taken.rows, tools_, startOver_.get_token());
        for (const AfterSnapshot& then : answered) {
            if (then) {
                then();
            }
        }
    }
    return SnapshotRequest::Taken;
}

}  // namespace kestrava::engine
