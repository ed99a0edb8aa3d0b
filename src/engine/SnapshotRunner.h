#pragma once

#include <functional>
#include <string>
#include <vector>

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

// What the caller of a snapshot does once the snapshot it asked for has been taken.
using AfterSnapshot = std::function<void()>;

// Keeps snapshots from interleaving. Events run in the middle of a snapshot, so a
// timer tick or a click can ask for another while one runs; such a request is noted
// and the running snapshot's caller takes one more snapshot right after it, however
// many requests came in the meantime, then runs what each of those requests wanted
// done afterwards. The target is read as each snapshot starts.
class SnapshotRunner {
public:
    SnapshotRunner(SnapshotTools& tools, SnapshotRows& rows, std::function<SnapshotTarget()> target)
        : tools_(tools), rows_(rows), target_(std::move(target)) {}

    SnapshotRequest requestSnapshot(AfterSnapshot afterwards = {});

    bool running() const { return running_; }

private:
    SnapshotTools& tools_;
    SnapshotRows& rows_;
    std::function<SnapshotTarget()> target_;
    bool running_ = false;
    std::vector<AfterSnapshot> waiting_;  // requests that the next snapshot answers
};

}  // namespace kestrava::engine
