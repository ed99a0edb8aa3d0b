#pragma once

#include <string>
#include <vector>

#include "core/ErrorReport.h"
#include "engine/ListFiles.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {

// Folder paths, each ending in a separator, in the order the walk found them.
using FolderList = std::vector<std::string>;

struct WalkSeams {
    const platform::FileSystem& fileSystem;
    platform::EventPump& events;
    const core::ErrorReport& errorReport;
};

// Hears about every folder the walk lists, in the order of the finished folder list,
// with the files that ListFiles(folder, "*.*") would give: the walk reads each folder
// once, for its sub-folders and its files together.
class FolderFilesVisitor {
public:
    virtual ~FolderFilesVisitor() = default;

    // The folder was listed whole and stays in the folder list.
    virtual void folderListed(const std::string& folder, const FileList& files) = 0;

    // The folder stays in the list, but its listing failed with an error other than
    // the two (permission denied, path not found) that drop it silently.
    virtual void folderNotListed(const std::string& folder,
                                 const platform::RuntimeError& error) = 0;
};

// Extends the folder list, in place, with every folder below its folders, level by
// level (breadth-first; within a folder in the file system's order). Left out, with
// everything below them: system folders (attributes exactly 22 or 1046, unless a
// root), "." and "..", and, where the platform says so
// (platform::WalksLinkedFolders), folders reached through a link, which could lead
// out of the tree or round in a loop. A folder that denies listing
// (70) or has vanished (76) is removed from the list without a message. Events run
// once per folder visited, per sub-folder name and per folder merged, and every few
// hundred entries of a large folder.
void GetSubDirectories2016(FolderList& folders, bool recurse, const WalkSeams& seams,
                           FolderFilesVisitor* files = nullptr);

// True when the path names a folder (links followed); false when it can't be looked up.
bool IsFolder(const platform::FileSystem& fileSystem, const std::string& path);

}  // namespace kestrava::engine
