#pragma once

#include <string>
#include <string_view>

#include "core/StepTrap.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace kestrava::engine {

// Appends one line, ended by CR LF, to the history log in the system's encoding: the
// file is opened (created when missing), written and closed again. Throws RuntimeError
// when that fails.
void WriteHistoryLine(platform::FileSystem& fileSystem, const platform::Locale& locale,
                      const std::string& historyLogPath, std::string_view text);

// The lines of one history-log entry. They are collected and appended in chunks, each
// with its own open, append and close, so the log is never held open between chunks
// (nor between snapshots) and a large snapshot costs a few opens instead of one per
// line. Each chunk is written in the system's encoding (a character it can't hold
// becomes "?"). A failed append is reported once, under the step of the chunk's first
// line; the rest of the entry is then left out, so the log never holds an entry with
// lines missing from its middle.
class HistoryLogEntry {
public:
    static constexpr std::size_t ChunkSize = 256 * 1024;

    HistoryLogEntry(platform::FileSystem& fileSystem, const platform::Locale& locale,
                    std::string historyLogPath, const core::StepTrap& trap)
        : fileSystem_(fileSystem), locale_(locale), path_(std::move(historyLogPath)), trap_(trap) {
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

    // Appends what is left: the entry's owner calls it at the end.
    void finish();

    bool failed() const { return failed_; }
    // Whether any of the entry's lines reached the log.
    bool written() const { return written_; }

private:
    platform::FileSystem& fileSystem_;
    const platform::Locale& locale_;
    std::string path_;
    const core::StepTrap& trap_;
    std::string chunk_;
    int chunkStep_ = 0;  // the step of the chunk's first line
    bool failed_ = false;
    bool written_ = false;
};

}  // namespace kestrava::engine
