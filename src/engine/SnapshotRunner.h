#pragma once

#include <functional>
#include <string>

#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"

namespace kestrava::engine {

// What a snapshot covers, read when it starts.
struct SnapshotTarget {
    std::string folder;
    std::string historyLogPath;
};

enum class SnapshotRequest {
    Taken,   // the snapshot was taken before the call returned
    Queued,  // one was running (the call came from an event inside it); another
             // follows as soon as it ends, and the call returned at once
};

// Keeps snapshots from interleaving. Events run in the middle of a snapshot, so a
// timer tick or a click can ask for another while one runs; such a request is noted
// and the running snapshot's caller takes one more snapshot right after it, however
// many requests came in the meantime. The target is read as each snapshot starts.
class SnapshotRunner {
public:
    SnapshotRunner(SnapshotTools& tools, SnapshotRows& rows, std::function<SnapshotTarget()> target)
        : tools_(tools), rows_(rows), target_(std::move(target)) {}

    SnapshotRequest requestSnapshot();

    bool running() const { return running_; }

private:
    SnapshotTools& tools_;
    SnapshotRows& rows_;
    std::function<SnapshotTarget()> target_;
    bool running_ = false;
    bool requestedAgain_ = false;
};

}  // namespace kestrava::engine
