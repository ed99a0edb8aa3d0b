#include "engine/AddFolder.h"

#include <algorithm>
#include <optional>

#include "core/LocationTags.h"
#include "core/PathText.h"
#include "core/StepTrap.h"
#include "engine/Pumping.h"
#include "platform/PathRules.h"

namespace kestrava::engine {
namespace {

using platform::RuntimeError;

// A folder of the walk. Folders found by a listing come with the attributes the
// listing gave; they need no second look-up.
struct Folder {
    std::string path;
    std::optional<unsigned> attributes;
};
using Folders = std::vector<Folder>;

constexpr unsigned HiddenSystemFolder =
    platform::attribute::Directory | platform::attribute::System | platform::attribute::Hidden;
constexpr unsigned HiddenSystemJunction = HiddenSystemFolder | platform::attribute::ReparsePoint;

// Exact values, not bits: a folder that is only hidden or only system passes.
bool PassesSystemFolderFilter(const std::string& path, unsigned attributes) {
    return platform::IsRootPath(path) ||
           (attributes != HiddenSystemFolder && attributes != HiddenSystemJunction);
}

bool IsLinkedFolder(const platform::EntryInfo& info) {
    return (info.attributes & platform::attribute::ReparsePoint) != 0;
}

class Walk {
public:
    Walk(const WalkSeams& seams, FolderFilesVisitor* visitor) : seams_(seams), visitor_(visitor) {}

    void run(Folders& folders, bool recurse);

private:
    // One call's error handling: until the first sub-folder listing of the call
    // starts, a failed step is reported and the path goes on with its next step;
    // from then on a failure ends the path's handling in the recovery.
    struct Call {
        const core::StepTrap trap;
        bool listingStarted = false;

        template <typename Action>
        void step(int number, Action&& action) const {
            if (listingStarted) {
                action();
            } else {
                trap.run(number, action);
            }
        }
    };

    void handle(Call& call, const Folder& folder, Folders& subFolders);
    void list(const std::string& path, Folders& subFolders);
    void recover(Folders& folders, std::size_t& index, const RuntimeError& error);
    void merge(const core::StepTrap& trap, Folders& subFolders, Folders& folders);
    bool isFolder(const Folder& folder) const {
        return platform::PathLength(folder.path) < platform::PathLengthLimit &&
               (folder.attributes.has_value() || IsFolder(seams_.fileSystem, folder.path));
    }

    const WalkSeams& seams_;
    FolderFilesVisitor* visitor_;
    FileList files_;  // one folder's files at a time, its buffers kept for the next
};

void Walk::run(Folders& folders, bool recurse) {
    Call call{core::StepTrap(seams_.errorReport, core::location_tag::GetSubDirectories2016)};
    Folders subFolders;                                     // [100-104]
    for (std::size_t index = 0; index < folders.size();) {  // [106]
        const Folder folder = folders[index];
        try {
            handle(call, folder, subFolders);
            ++index;
        } catch (const RuntimeError& error) {
            recover(folders, index, error);
        }
    }
    if (recurse && !subFolders.empty()) {  // [150]
        run(subFolders, true);
    }
    merge(call.trap, subFolders, folders);
}

void Walk::handle(Call& call, const Folder& folder, Folders& subFolders) {
    if (!isFolder(folder)) {  // [108, 110]: a skipped path stays in the list
        return;
    }
    unsigned attributes = 0;
    call.step(112, [&] {
        attributes = folder.attributes ? *folder.attributes
                                       : seams_.fileSystem.pathInfo(folder.path).attributes;
    });
    call.step(114, [&] { seams_.events.pumpEvents(); });
    bool passes = true;
    call.step(116, [&] { passes = PassesSystemFolderFilter(folder.path, attributes); });
    if (!passes) {
        return;  // stays in the list, not descended into
    }
    call.listingStarted = true;
    list(folder.path, subFolders);
}

// [118-134] One pass over the folder: its sub-folders for the walk, its files for the
// visitor, which hears of them only once the whole folder has been read.
void Walk::list(const std::string& path, Folders& subFolders) {
    const std::string parent = core::WithTrailingSeparator(path);
    auto listing = seams_.fileSystem.listFolder(path);
    files_.clear();
    platform::FolderEntry entry;
    for (std::size_t count = 1; listing->next(entry); ++count) {
        if (count % EntriesBetweenPumps == 0) {
            seams_.events.pumpEvents();
        }
        if (entry.info.kind != platform::EntryKind::Folder) {
            if (visitor_ != nullptr && IsOpenableFile(entry.info)) {
                files_.add(entry.name, entry.info);
            }
            continue;
        }
        seams_.events.pumpEvents();                // [120]
        const std::string_view name = entry.name;  // [122]
        if (IsLinkedFolder(entry.info) && !platform::WalksLinkedFolders) {
            continue;
        }
        // Every name the file system lists is walked, whatever its characters: the log
        // writes what its encoding can't hold as "?", and leaving such a folder out
        // would hide its whole subtree from the history.
        if (platform::PathLength(name) < platform::PathLengthLimit && name != "." &&
            name != "..") {                  // [124-130]
            std::string subFolder = parent;  // [132, 134]
            subFolder += name;
            subFolder += core::PathSeparator;
            subFolders.push_back({std::move(subFolder), entry.info.attributes});
        }
    }
    listing.reset();
    if (visitor_ != nullptr) {
        visitor_->folderListed(path, files_);
    }
}

// [138-148] Permission denied and path not found remove the path (its first
// occurrence) without a message; sub-folders found before the failure stay. Any
// other failure leaves the path in the list.
void Walk::recover(Folders& folders, std::size_t& index, const RuntimeError& error) {
    const std::string path = folders[index].path;
    const int number = error.number();
    if (number == platform::error_number::PermissionDenied ||
        number == platform::error_number::PathNotFound) {
        const auto found = std::find_if(folders.begin(), folders.end(),
                                        [&](const Folder& folder) { return folder.path == path; });
        // The first occurrence lies at or before index, so the next path now sits at index.
        folders.erase(found);
        return;
    }
    if (visitor_ != nullptr) {
        visitor_->folderNotListed(path, error);
    }
    ++index;
}

// [152-160] The deeper levels join the list after this level, with errors reported
// again.
void Walk::merge(const core::StepTrap& trap, Folders& subFolders, Folders& folders) {
    for (Folder& subFolder : subFolders) {
        bool present = false;
        trap.run(154, [&] { present = isFolder(subFolder); });
        if (!present) {
            continue;
        }
        trap.run(156, [&] { seams_.events.pumpEvents(); });
        bool passes = true;
        trap.run(158, [&] {
            passes = PassesSystemFolderFilter(
                subFolder.path, subFolder.attributes
                                    ? *subFolder.attributes
                                    : seams_.fileSystem.pathInfo(subFolder.path).attributes);
        });
        if (passes) {
            trap.run(160, [&] { folders.push_back(std::move(subFolder)); });
        }
    }
}

}  // namespace

void GetSubDirectories2016(FolderList& folders, bool recurse, const WalkSeams& seams,
                           FolderFilesVisitor* files) {
    Folders walked;
    walked.reserve(folders.size());
    for (std::string& path : folders) {
        walked.push_back({std::move(path), std::nullopt});
    }
    Walk(seams, files).run(walked, recurse);
    folders.clear();
    folders.reserve(walked.size());
    for (Folder& folder : walked) {
        folders.push_back(std::move(folder.path));
    }
}

bool IsFolder(const platform::FileSystem& fileSystem, const std::string& path) {
    try {
        return fileSystem.pathInfo(path).kind == platform::EntryKind::Folder;
    } catch (const RuntimeError&) {
        return false;
    }
}

}  // namespace kestrava::engine
