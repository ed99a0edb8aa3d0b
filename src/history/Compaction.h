#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace kestrava::history {

// The steps of a compaction, in their order; a test stops one after any of them, as a
// program killed there would.
enum class CompactionStep {
    StoreWritten,   // the new store, beside the old one
    TextCopied,     // what the text log keeps, beside it
    Locked,         // the writers held off
    TextCompleted,  // with what they appended meanwhile
    StoreSwitched,  // the new store in the old one's place
    TextSwitched,   // the cut text log in the old one's place
};

struct CompactionReport {
    std::uint64_t moved = 0;       // entries moved into the store
    std::uint64_t removed = 0;     // entries gone from the history (prune)
    std::uint64_t stored = 0;      // entries the store holds now
    std::uint64_t storeBytes = 0;  // its size
    std::chrono::milliseconds lockHeld{0};
};

// Moves every whole entry of the text log but the newest `keepText` into the store beside
// it. The log is read without holding writers off; they are held off only to copy what
// they appended meanwhile and to put the new store and the cut log in place, each written
// whole and flushed to disk first. Killed at any moment, the history reads as before:
// the store records which text it took in, and readers skip that text while the log
// still holds it; a compaction run again finishes the cut. Throws RuntimeError when the
// log or the store can't be read or written, or the log changed under it (it was cleared
// or compacted by another program): nothing is then moved.
CompactionReport CompactHistory(platform::FileSystem& fileSystem, const std::string& logPath,
                                std::uint64_t keepText,
                                const std::function<void(CompactionStep)>& afterStep = {});

}  // namespace kestrava::history
