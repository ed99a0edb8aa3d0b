#include "commands/BrowseFolder.h"

#include "core/PathText.h"
#include "platform/RuntimeError.h"

namespace kestrava::commands {
namespace {

bool IsFolder(const platform::FileSystem& fileSystem, const std::string& path) {
    try {
        return fileSystem.pathInfo(path).kind == platform::EntryKind::Folder;
    } catch (const platform::RuntimeError&) {
        return false;
    }
}

}  // namespace

std::string BrowseFolder(platform::Dialogs& dialogs, const std::string& title,
                         const std::string& preselection) {
    return dialogs.chooseFolder(title, preselection);
}

std::optional<std::string> ChooseFolderToLog(const core::StepTrap& trap,
                                             settings::SettingsStore& settings,
                                             platform::Dialogs& dialogs,
                                             const platform::FileSystem& fileSystem,
                                             const std::string& folderBoxText) {
    std::string preselection;
    trap.run(100, [&] {
        preselection = settings.read(settings::Setting::LastFolder);
        if (!IsFolder(fileSystem, preselection) && IsFolder(fileSystem, folderBoxText)) {
            preselection = folderBoxText;
        }
    });
    std::string chosen;
    trap.run(102, [&] {
        chosen = BrowseFolder(dialogs, std::string(FolderChooserTitle), preselection);
    });
    if (chosen.empty()) {
        return std::nullopt;
    }
    trap.run(104, [&] { settings.write(settings::Setting::LastFolderDot, chosen); });
    return core::WithTrailingSeparator(chosen);
}

}  // namespace kestrava::commands
