#include "engine/HistoryLog.h"

#include "platform/RuntimeError.h"

namespace kestrava::engine {

std::string& HistoryLogEntry::beginLine(int step) {
    if (chunk_.empty()) {
        chunkStep_ = step;
    }
    return chunk_;
}

void HistoryLogEntry::endLine() {
    chunk_ += "\r\n";
    if (chunk_.size() >= ChunkSize) {
        appendChunk();
    }
}

void HistoryLogEntry::finish() {
    appendChunk();
    file_.reset();
}

void HistoryLogEntry::abandon() {
    abandoned_ = true;
    file_.reset();
    chunk_.clear();
}

void HistoryLogEntry::appendChunk() {
    if (!chunk_.empty() && !failed_ && !abandoned_) {
        failed_ = !trap_.run(chunkStep_, [&] {
            if (!file_) {
                file_ = openWhenUnlocked();
                // A log cut in the middle of a line (a program ended while writing)
                // would glue this entry's first line to the cut one, where no reader
                // would find it.
                const std::string last = file_->tail(2);
                if (!last.empty() && last != "\r\n") {
                    chunk_.insert(0, "\r\n");
                }
            }
            // The history may have been started over while the lock was awaited.
            if (!abandoned_) {
                file_->append(seams_.locale.toSystemEncoding(chunk_));
                written_ = true;
            }
        });
    }
    if (failed_ || abandoned_) {
        file_.reset();
    }
    chunk_.clear();
}

std::unique_ptr<platform::AppendingFile> HistoryLogEntry::openWhenUnlocked() {
    const auto givingUp = seams_.clock.monotonicNow() + LockWait;
    for (;;) {
        if (auto file = seams_.fileSystem.openForAppending(path_)) {
            // Once the cut log is in place, the file held is the old log, on its way out.
            if (seams_.switchInWaitingCutLog && file->tail(1).empty() &&
                seams_.switchInWaitingCutLog(path_)) {
                continue;
            }
            return file;
        }
        if (seams_.clock.monotonicNow() >= givingUp) {
            throw platform::RuntimeError(platform::error_number::PermissionDenied);
        }
        seams_.events.waitForEvents(LockRetry);
    }
}

}  // namespace kestrava::engine
