#include "commands/HistoryLogCommands.h"

#include <cstdint>
#include <new>
#include <utility>

#include "core/HistoryLogPath.h"
#include "core/Main.h"
#include "core/Product.h"

namespace kestrava::commands {
namespace {

platform::MessageAnswer ShowMessage(platform::Dialogs& dialogs, std::string_view text,
                                    const std::string& appTitle, platform::MessageButtons buttons) {
    return dialogs.showMessage({.text = std::string(text),
                                .caption = appTitle,
                                .buttons = buttons,
                                .icon = platform::MessageIcon::None});
}

// Reads the log piece by piece, letting the window breathe in between: a log of a
// hundred megabytes takes well over a second. The log grows without limit, so its size
// is weighed first: a log that can't be held is refused before anything is read. It may
// still grow while the window breathes (a scheduled snapshot can run meanwhile).
std::string ReadHistoryText(platform::Services& services, const std::string& logPath) {
    const std::uint64_t size = services.fileSystem.pathInfo(logPath).size;
    if (!services.clipboard.canHold(size)) {
        throw platform::RuntimeError(platform::error_number::OutOfMemory);
    }
    try {
        std::string text;
        text.reserve(static_cast<std::size_t>(size));
        services.fileSystem.readFile(logPath, [&](std::string_view chunk) {
            text += chunk;
            services.events.pumpEvents();
        });
        return services.locale.fromSystemEncoding(std::move(text));
    } catch (const std::bad_alloc&) {
        throw platform::RuntimeError(platform::error_number::OutOfMemory);
    }
}

}  // namespace

void ViewHistoryLog(const core::StepTrap& trap, platform::Services& services,
                    const std::string& logPath, const std::string& appTitle) {
    if (core::FileExists(services.fileSystem, logPath)) {
        trap.run(100, [&] { services.shell.viewTextFile(logPath, trap.reportLater(100)); });
    } else {
        trap.run(102, [&] {
            ShowMessage(services.dialogs, NoHistoryMessage, appTitle, platform::MessageButtons::Ok);
        });
    }
}

void CopyHistoryToClipboard(const core::StepTrap& trap, platform::Services& services,
                            const std::string& logPath) {
    if (!core::FileExists(services.fileSystem, logPath)) {
        return;
    }
    std::string history;
    const bool loaded = trap.run(100, [&] { history = ReadHistoryText(services, logPath); });
    // A log that couldn't be read leaves the clipboard as it was: copying anything else
    // would hand the user a history that is not the log's.
    if (loaded) {
        trap.run(102, [&] { services.clipboard.putText(history); });
    }
}

void ClearHistoryLog(const core::StepTrap& trap, platform::Services& services,
                     const std::string& logPath, const std::string& appTitle,
                     engine::SnapshotRunner& snapshots,
                     const std::function<void()>& emptySnapshotList) {
    platform::MessageAnswer answer = platform::MessageAnswer::No;
    trap.run(100, [&] {
        answer =
            ShowMessage(services.dialogs, ClearQuestion, appTitle, platform::MessageButtons::YesNo);
    });
    if (answer != platform::MessageAnswer::Yes) {
        return;
    }
    snapshots.startOver();
    trap.run(102, [&] {
        // The store holds the history's older entries: clearing the history clears them
        // too, first, so that a failure leaves the log and the whole history there.
        const std::string storePath = core::HistoryStorePath(logPath);
        if (core::FileExists(services.fileSystem, storePath)) {
            services.fileSystem.removeFile(storePath);
        }
        core::RemoveFile(services.fileSystem, services.events, logPath);
        if (core::FileExists(services.fileSystem, logPath)) {
            // Deleting once more names the reason in the report.
            services.fileSystem.removeFile(logPath);
        }
    });
    trap.run(104, [&] { emptySnapshotList(); });
}

void ShowHelp(const core::StepTrap& trap, platform::Dialogs& dialogs, const std::string& appTitle) {
    trap.run(100, [&] {
        ShowMessage(dialogs,
                    std::string(HelpMessagePrefix) + std::string(core::MakerContactAddress),
                    appTitle, platform::MessageButtons::Ok);
    });
}

}  // namespace kestrava::commands
