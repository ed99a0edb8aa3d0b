#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// One entry of a folder. A file, or a symbolic link to one, carries its size and
// last-modified time (the link's target's); folders and other entries carry their
// kind and attributes only, since nothing needs more of them and reading it would
// cost a call per entry. A symbolic link to a folder is a Folder with the
// ReparsePoint bit.
struct FolderEntry {
    std::string_view name;  // valid until the next call of next()
    EntryInfo info;
};

// The entries of one open folder, in the order the file system gives them, without
// "." and "..". The folder stays open until the listing is destroyed.
class FolderListing {
public:
    virtual ~FolderListing() = default;

    // Fills entry with the next entry; false at the end. An entry that disappears
    // while the folder is read is left out. Throws RuntimeError when the folder
    // can't be read further.
    virtual bool next(FolderEntry& entry) = 0;
};

// A file held open for appending, locked against other programs that append to it.
// The lock ends with the file.
class AppendingFile {
public:
    virtual ~AppendingFile() = default;

    // Appends the bytes at the file's end. Throws RuntimeError when that fails; a write
    // that fails part-way is cut off again, so no partial text stays behind.
    virtual void append(std::string_view bytes) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // What the file system reports for a path, symbolic links followed.
    // Throws RuntimeError when the path can't be looked up.
    virtual EntryInfo pathInfo(const std::string& path) const = 0;

    // Hands a file's content to takeChunk piece by piece, in order, so that a caller can
    // let the window breathe between pieces of a large file. A symbolic link in the
    // file's place is not followed. Throws RuntimeError when it can't be read.
    virtual void readFile(const std::string& path,
                          const std::function<void(std::string_view chunk)>& takeChunk) const = 0;
    // Opens a folder for one pass over its entries: one read of the folder and at
    // most one look-up per entry; nothing in it is opened. Throws RuntimeError when
    // the folder can't be opened (70 when listing is denied, 76 when it is missing).
    virtual std::unique_ptr<FolderListing> listFolder(const std::string& path) const = 0;

    // Opens the file for appending (creating it, readable by its owner only) and locks
    // it against every other program that appends to it through this seam, until the
    // file is destroyed. Nothing when another program holds the lock. Another user can
    // plant a file or a link where the file belongs (a temporary folder may be shared):
    // a symbolic link in its place, anything but a plain file, or a file that another
    // user owns is never opened (RuntimeError 70, permission denied). Throws
    // RuntimeError when the file can't be opened.
    virtual std::unique_ptr<AppendingFile> openForAppending(const std::string& path) = 0;

    // Deletes exactly the named file: no pattern is expanded.
    // Throws RuntimeError when it can't be deleted.
    virtual void removeFile(const std::string& path) = 0;
};

}  // namespace kestrava::platform
