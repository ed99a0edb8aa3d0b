#pragma once

#include "platform/FileSystem.h"
#include "platform/win32/Win32FileCalls.h"

namespace kestrava::platform {

// The file system through Win32's wide-character calls, with the attributes as the
// file system keeps them. A file is an entry that opens as an existing file with no
// access asked and reading and writing shared; anything that refuses that open (a
// device, a file locked against it) is no file. Two kinds of file are files without
// that open: one whose listing says its data is elsewhere (recalled on open or on
// access, or offline), which is never opened, and one whose cloud provider refuses the
// open. Paths are limited to MAX_PATH, as the program always was: nothing asks for
// longer ones.
class Win32FileSystem : public FileSystem {
public:
    Win32FileSystem() : calls_(systemCalls_) {}
    // Lists folders and opens files through the calls given, which outlive it.
    explicit Win32FileSystem(const Win32FileCalls& calls) : calls_(calls) {}
    Win32FileSystem(const Win32FileSystem&) = delete;
    Win32FileSystem& operator=(const Win32FileSystem&) = delete;

    EntryInfo pathInfo(const std::string& path) const override;
    void readFile(const std::string& path,
                  const std::function<void(std::string_view chunk)>& takeChunk) const override;
    // Shares reading, writing and deleting, so that the window can go on appending and
    // clearing the file meanwhile.
    std::unique_ptr<ReadableFile> openForReading(const std::string& path) const override;
    // GetFullPathNameW, for a path that names no drive or share of its own.
    std::string absolutePath(const std::string& path) const override;
    std::unique_ptr<FolderListing> listFolder(const std::string& path) const override;
    // Appends through FILE_APPEND_DATA, so two writers never overwrite each other. A
    // link (a reparse point) in the file's place, or a folder, is never written (70).
    std::unique_ptr<AppendingFile> openForAppending(const std::string& path) override;
    // A read-only file goes too, as it would on a POSIX system.
    std::unique_ptr<NewFile> createFile(const std::string& path) override;
    void replaceFile(const std::string& from, const std::string& to) override;
    void removeFile(const std::string& path) override;

private:
    Win32FileCalls systemCalls_;
    const Win32FileCalls& calls_;
};

}  // namespace kestrava::platform
