#pragma once

#include <functional>
#include <string>

#include "core/StepTrap.h"
#include "engine/SnapshotRunner.h"
#include "platform/Services.h"

// The commands behind the buttons that act on the history log, and the help message.
// Each runs its statements as steps of the caller's trap.
namespace kestrava::commands {

inline constexpr std::string_view NoHistoryMessage =
    "There isn't a history to view because actions have not been performed yet.";
inline constexpr std::string_view ClearQuestion =
    "Are you sure you want to delete the history log and start over?";
inline constexpr std::string_view HelpMessagePrefix = "Questions? Please contact Team Velquist at ";

// Opens the log in the desktop's viewer, or says that there is no history yet.
void ViewHistoryLog(const core::StepTrap& trap, platform::Services& services,
                    const std::string& logPath, const std::string& appTitle);

// Puts the log's whole text on the clipboard; does nothing when there is no log.
void CopyHistoryToClipboard(const core::StepTrap& trap, platform::Services& services,
                            const std::string& logPath);

// After a Yes, deletes the log and the store of its older entries beside it, and empties
// the snapshot list. A snapshot under way
// (the question came from an event inside it) ends first and writes nothing more, so
// the new history starts with the next snapshot's whole entry. A log that is still
// there afterwards is reported, so that nobody believes a history gone that is not.
void ClearHistoryLog(const core::StepTrap& trap, platform::Services& services,
                     const std::string& logPath, const std::string& appTitle,
                     engine::SnapshotRunner& snapshots,
                     const std::function<void()>& emptySnapshotList);

void ShowHelp(const core::StepTrap& trap, platform::Dialogs& dialogs, const std::string& appTitle);

}  // namespace kestrava::commands
