#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
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

    // The file's last bytes, at most that many. Throws RuntimeError when they can't be
    // read.
    virtual std::string tail(std::size_t bytes) const = 0;
};

// A file being written afresh, to take another's place once it is whole.
class NewFile {
public:
    virtual ~NewFile() = default;

    // Throws RuntimeError when the bytes can't be written.
    virtual void write(std::string_view bytes) = 0;

    // Hands everything written to the disk itself, so that a power loss after it leaves
    // the file whole. Throws RuntimeError when it can't.
    virtual void flushToDisk() = 0;
};

// A file opened for reading at any offset. Its size is the one it had when it was
// opened: a reader that keeps within it sees the file as it was then, however much is
// appended meanwhile.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;

    virtual std::uint64_t size() const = 0;

    // Takes the readers' share of the lock that a file opened for appending holds whole:
    // false while a program appends to the file that way. Once taken, no program appends
    // until this file is destroyed, and size() is the file's size now.
    virtual bool lockForReading() = 0;

    // Reads into the buffer from the offset on; fewer bytes than the buffer holds only at
    // the end of the file. Throws RuntimeError when the file can't be read.
    virtual std::size_t readAt(std::uint64_t offset, std::span<char> buffer) const = 0;
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
    // Opens a plain file (links followed) for reading at any offset. Anything else in
    // its place (a folder, a FIFO, a device) is refused, so nothing can block.
    // Throws RuntimeError when it can't be opened.
    virtual std::unique_ptr<ReadableFile> openForReading(const std::string& path) const = 0;

    // The path made absolute against the current folder, "." and ".." taken by their
    // names; a path that is absolute already comes back as it is.
    virtual std::string absolutePath(const std::string& path) const = 0;

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

    // Creates the file afresh (emptying one that is there), readable by its owner only; a
    // symbolic link or anything but a plain file in its place is refused. Throws
    // RuntimeError when it can't be created.
    virtual std::unique_ptr<NewFile> createFile(const std::string& path) = 0;

    // Gives the file `from` the name `to` in one step, in place of the file that had it:
    // a reader sees the one or the other, whole. On Windows a replace that another
    // program (a virus scanner, an indexer) holds up for a moment is retried for a second
    // or two. Throws RuntimeError when it can't be done; both files are then as they were.
    virtual void replaceFile(const std::string& from, const std::string& to) = 0;

    // Deletes exactly the named file: no pattern is expanded.
    // Throws RuntimeError when it can't be deleted.
    virtual void removeFile(const std::string& path) = 0;
};

}  // namespace kestrava::platform
