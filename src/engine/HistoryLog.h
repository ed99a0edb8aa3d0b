#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/StepTrap.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace kestrava::engine {

// Puts in place of the log (found empty, its lock held) the cut log that a rewrite of the
// history left waiting when it was stopped between moving the log aside and moving the
// cut log in; tells whether it did.
using WaitingCutLogSwitch = std::function<bool(const std::string& logPath)>;

// What a history-log entry writes with: the file system, the locale's encoding, the
// pump and clock it waits with while another program writes an entry of its own, and,
// when given, what finishes a rewrite's stopped switch before an entry goes into a log
// that holds none.
struct HistoryLogSeams {
    platform::FileSystem& fileSystem;
    const platform::Locale& locale;
    platform::EventPump& events;
    const platform::Clock& clock;
    WaitingCutLogSwitch switchInWaitingCutLog = {};
};

// The lines of one history-log entry, appended in chunks so that a large snapshot costs
// a few writes instead of one per line, each chunk in the system's encoding (a
// character it can't hold becomes "?").
//
// The window and `kestrava-log snapshot` may write one log at the same moment: from its
// first chunk to its end the entry holds the log open and locked, so that no other
// program's lines come between its own. A lock that another program holds is waited
// for, events running, for LockWait, and then reported as a failed append. An entry
// always begins on a line of its own, also after a log cut in the middle of a line by a
// program that was ended while it wrote. A failed append is reported once, under the
// step of the chunk's first line; the rest of the entry is then left out, so the log
// never holds an entry with lines missing from its middle. The log is never held open
// between entries.
class HistoryLogEntry {
public:
    static constexpr std::size_t ChunkSize = 256 * 1024;
    static constexpr std::chrono::seconds LockWait{20};
    static constexpr std::chrono::milliseconds LockRetry{50};

    HistoryLogEntry(const HistoryLogSeams& seams, std::string historyLogPath,
                    const core::StepTrap& trap)
        : seams_(seams), path_(std::move(historyLogPath)), trap_(trap) {
        chunk_.reserve(ChunkSize + 8 * 1024);
    }
    HistoryLogEntry(const HistoryLogEntry&) = delete;
    HistoryLogEntry& operator=(const HistoryLogEntry&) = delete;

    // Starts a line for the given step and gives the buffer to write its text into;
    // endLine() ends it.
    std::string& beginLine(int step);
    void endLine();

    void addLine(int step, std::string_view text) {
        beginLine(step) += text;
        endLine();
    }

    // Appends what is left and lets the log go: the entry's owner calls it at the end.
    void finish();

    // Lets the log go at once and leaves everything after out: the history has been
    // started over while the entry was being written.
    void abandon();

    bool failed() const { return failed_; }
    // Whether any of the entry's lines reached the log.
    bool written() const { return written_; }

private:
    void appendChunk();
    std::unique_ptr<platform::AppendingFile> openWhenUnlocked();

    HistoryLogSeams seams_;
    std::string path_;
    const core::StepTrap& trap_;
    std::unique_ptr<platform::AppendingFile> file_;
    std::string chunk_;
    int chunkStep_ = 0;  // the step of the chunk's first line
    bool failed_ = false;
    bool abandoned_ = false;
    bool written_ = false;
};

}  // namespace kestrava::engine
