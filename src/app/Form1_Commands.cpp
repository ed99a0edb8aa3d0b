#include "app/Form1.h"
#include "commands/BrowseFolder.h"
#include "commands/HistoryLogCommands.h"
#include "core/LocationTags.h"

namespace kestrava::app {

void Form1::PushButton1_Click() {
    const core::StepTrap trap(errorReport_, core::location_tag::PushButton1Click);
    commands::ViewHistoryLog(trap, services_, HistoryLogPath, AppTitle);
}

void Form1::PushButton2_Click() {
    const core::StepTrap trap(errorReport_, core::location_tag::PushButton2Click);
    commands::CopyHistoryToClipboard(trap, services_, HistoryLogPath);
}

void Form1::PushButton3_Click() {
    const core::StepTrap trap(errorReport_, core::location_tag::PushButton3Click);
    const auto folderBoxText = commands::ChooseFolderToLog(
        trap, settings_, services_.dialogs, services_.fileSystem, view_.folderText());
    if (folderBoxText) {
        trap.run(106, [&] { view_.setFolderText(*folderBoxText); });
    }
}

void Form1::PushButton11_Click() {
    const core::StepTrap trap(errorReport_, core::location_tag::PushButton11Click);
    commands::ShowHelp(trap, services_.dialogs, AppTitle);
}

void Form1::PushButton12_Click() {
    const core::StepTrap trap(errorReport_, core::location_tag::PushButton12Click);
    commands::ClearHistoryLog(trap, services_, HistoryLogPath, AppTitle, snapshots_,
                              [this] { snapshotRows_.clear(); });
}

}  // namespace kestrava::app
