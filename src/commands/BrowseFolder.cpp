#include "commands/BrowseFolder.h"

#include "core/PathText.h"
#include "engine/AddFolder.h"

namespace kestrava::commands {
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
        if (!engine::IsFolder(fileSystem, preselection) &&
            engine::IsFolder(fileSystem, folderBoxText)) {
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
