#include "engine/AddFolder.h"

#include <optional>

#include "core/LocationTags.h"
#include "core/StepTrap.h"
#include "platform/PathRules.h"

namespace kestrava::engine {
namespace {

// GetSubDirectories2016's steps, as its error report numbers them.
namespace step {
constexpr int LookUpTheFolder = 112;
}  // namespace step

}  // namespace

TreeWalk GetSubDirectories2016(const std::string& folder, const WalkSeams& seams,
                               const WalkFilter* filter) {
    const core::StepTrap trap(seams.errorReport, core::location_tag::GetSubDirectories2016);
    std::optional<std::string> top;
    if (platform::PathLength(folder) < platform::PathLengthLimit &&
        IsFolder(seams.fileSystem, folder)) {
        unsigned attributes = 0;
        trap.run(step::LookUpTheFolder,
                 [&] { attributes = seams.fileSystem.pathInfo(folder).attributes; });
        if (TreeWalk::GoesInto(folder, attributes)) {
            top = folder;
        }
    }
    return TreeWalk(seams.fileSystem, std::move(top), {}, filter);
}

bool IsFolder(const platform::FileSystem& fileSystem, const std::string& path) {
    try {
        return fileSystem.pathInfo(path).kind == platform::EntryKind::Folder;
    } catch (const platform::RuntimeError&) {
        return false;
    }
}

}  // namespace kestrava::engine
