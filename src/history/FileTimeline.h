#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava::history {

// A file's size and date texts, as logged.
struct FileFacts {
    std::string size;
    std::string modified;

    bool operator==(const FileFacts&) const = default;
};

enum class FileEventKind { Appeared, Changed, Vanished };

// What happened to a file in one entry (numbered from 1, the history's oldest): it
// appeared (after, what the entry lists), changed (before and after), or vanished.
struct FileEvent {
    std::uint64_t entry = 0;
    std::string date;
    FileEventKind kind = FileEventKind::Appeared;
    FileFacts before;
    FileFacts after;
};

// The lines asked about of one entry, by path: the first line of each path, as a path
// listed twice (two names the log's encoding writes alike) is one file to a reader.
using ListedFiles = std::map<std::string, FileFacts, std::less<>>;

// Paths' timelines, told entry by entry from the oldest on. The history's first entry
// is where the files it lists appeared: what a user asking "when did it appear" means.
class Timelines {
public:
    // What entry `entry` says of one path: listed with these facts, or not (nullptr).
    // Each path is told of in the order of its entries.
    void record(std::uint64_t entry, std::string_view date, std::string_view path,
                const FileFacts* listed);

    // What a whole entry says: the paths asked about it lists; those listed in the entry
    // before and not in it vanished.
    void recordEntry(std::uint64_t entry, std::string_view date, const ListedFiles& listed);

    // Every path that was ever listed, in the paths' byte order, with its events.
    const std::map<std::string, std::vector<FileEvent>, std::less<>>& byPath() const {
        return timelines_;
    }

private:
    std::map<std::string, std::vector<FileEvent>, std::less<>> timelines_;
    ListedFiles present_;  // as the last entry recorded lists them
};

}  // namespace kestrava::history
