#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrava::platform {

// Attribute bits with the values the program compares against. Here a name that
// begins with "." is hidden, nothing is a system file, and a symbolic link is a
// reparse point.
namespace attribute {
inline constexpr unsigned Hidden = 2;
inline constexpr unsigned System = 4;
inline constexpr unsigned Directory = 16;
inline constexpr unsigned ReparsePoint = 1024;
}  // namespace attribute

enum class EntryKind { File, Folder, Other };

struct EntryInfo {
    EntryKind kind = EntryKind::Other;
    unsigned attributes = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;  // since 1970-01-01 00:00:00 UTC
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // What the file system reports for a path, symbolic links followed.
    // Throws RuntimeError when the path can't be looked up.
    virtual EntryInfo pathInfo(const std::string& path) const = 0;

    // Hands a file's content to takeChunk piece by piece, in order, so that a caller can
    // let the window breathe between pieces of a large file.
    // Throws RuntimeError when it can't be read.
    virtual void readFile(const std::string& path,
                          const std::function<void(std::string_view chunk)>& takeChunk) const = 0;

    // Deletes exactly the named file: no pattern is expanded.
    // Throws RuntimeError when it can't be deleted.
    virtual void removeFile(const std::string& path) = 0;
};

}  // namespace kestrava::platform
