#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"

namespace kestrava::engine {

// One snapshot to take: the folder as the folder box holds it, the history log and the
// rows of the snapshot list.
struct SnapshotJob {
    std::string folder;
    std::string historyLogPath;
    SnapshotRows& rows;
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
// and the running snapshot's caller takes one more snapshot right after it, of the job
// the latest request named, however many requests came in the meantime, then runs
// what each of those requests wanted done afterwards.
class SnapshotRunner {
public:
    explicit SnapshotRunner(SnapshotTools& tools) : tools_(tools) {}

    SnapshotRequest requestSnapshot(const SnapshotJob& job, AfterSnapshot afterwards = {});

    bool running() const { return running_; }

    // The history is started over ("Clear History Log"): the snapshot under way, if
    // any, ends at once and writes nothing more. Requests noted meanwhile still follow.
    void startOver() { startOver_.request_stop(); }

private:
    SnapshotTools& tools_;
    bool running_ = false;
    std::stop_source startOver_;          // of the snapshot under way
    std::optional<SnapshotJob> next_;     // what the next snapshot covers
    std::vector<AfterSnapshot> waiting_;  // requests that the next snapshot answers
};

}  // namespace kestrava::engine
