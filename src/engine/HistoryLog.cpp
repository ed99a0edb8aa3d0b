#include "engine/HistoryLog.h"

namespace kestrava::engine {

void WriteHistoryLine(platform::FileSystem& fileSystem, const platform::Locale& locale,
                      const std::string& historyLogPath, std::string_view text) {
    std::string line(text);
    line += "\r\n";
    fileSystem.appendToFile(historyLogPath, locale.toSystemEncoding(line));
}

std::string& HistoryLogEntry::beginLine(int step) {
    if (chunk_.empty()) {
        chunkStep_ = step;
    }
    return chunk_;
}

void HistoryLogEntry::endLine() {
    chunk_ += "\r\n";
    if (chunk_.size() >= ChunkSize) {
        finish();
    }
}

void HistoryLogEntry::finish() {
    if (chunk_.empty()) {
        return;
    }
    if (!failed_) {
        failed_ = !trap_.run(
            chunkStep_, [&] { fileSystem_.appendToFile(path_, locale_.toSystemEncoding(chunk_)); });
        written_ = written_ || !failed_;
    }
    chunk_.clear();
}

}  // namespace kestrava::engine
