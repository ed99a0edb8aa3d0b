#pragma once

#include <optional>
#include <string>

#include "core/StepTrap.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "settings/SettingsStore.h"

namespace kestrava::commands {

inline constexpr std::string_view FolderChooserTitle = "Please select folder:";

// Shows the modal folder chooser with the title and the preselection. Gives the chosen
// folder's full path, without a separator added, or "" when the user cancels.
std::string BrowseFolder(platform::Dialogs& dialogs, const std::string& title,
                         const std::string& preselection);

// The "..." command up to the folder box: lets the user choose a folder, starting at
// "LastFolder" when it holds a folder and otherwise at the folder in the box, and
// stores the choice as "LastFolderDot". Gives the text for the folder box (the choice
// ending in a separator), or nothing when the user cancelled.
std::optional<std::string> ChooseFolderToLog(const core::StepTrap& trap,
                                             settings::SettingsStore& settings,
                                             platform::Dialogs& dialogs,
                                             const platform::FileSystem& fileSystem,
                                             const std::string& folderBoxText);

}  // namespace kestrava::commands
