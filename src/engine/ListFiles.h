#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EventPump.h"
#include "platform/FileSystem.h"

namespace kestrava::engine {

// The files of one folder with what the snapshot shows of them, kept compact: the
// names in one buffer, the rest in fixed-size records.
class FileList {
public:
    struct File {
        std::string_view name;
        std::uint64_t size;
        std::int64_t modifiedSeconds;
    };

    void clear() {
        names_.clear();
        records_.clear();
    }
    void add(std::string_view name, const platform::EntryInfo& info);

    std::size_t size() const { return records_.size(); }
    // The bytes the list holds.
    std::size_t memory() const { return names_.capacity() + records_.capacity() * sizeof(Record); }
    bool empty() const { return records_.empty(); }
    File operator[](std::size_t index) const {
        const Record& record = records_[index];
        return {std::string_view(names_).substr(record.nameOffset, record.nameLength), record.size,
                record.modifiedSeconds};
    }

private:
    struct Record {
        std::size_t nameOffset;
        std::uint64_t size;
        std::int64_t modifiedSeconds;
        std::uint32_t nameLength;
    };

    std::string names_;
    std::vector<Record> records_;
};

// A file that can be opened: a regular file, symbolic links followed, that exists
// now. Folders, FIFOs, sockets and devices are not; nothing is opened to find out.
bool IsOpenableFile(const platform::EntryInfo& entry);
bool IsOpenableFile(const platform::FileSystem& fileSystem, const std::string& path);

// Whether a name matches a wildcard pattern: "*" stands for any run of characters,
// "?" for one, and "*.*" for every name, dotted or not.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// The folder's openable files whose names match the pattern, hidden ones included,
// in the order the file system gives them; no sub-folders. One pass over the folder.
// Throws RuntimeError when the folder can't be listed.
FileList ListFiles(const platform::FileSystem& fileSystem, platform::EventPump& events,
                   const std::string& folderPath, std::string_view pattern);

}  // namespace kestrava::engine
