#include "commands/HistoryLogCommands.h"

#include <QStringDecoder>
#include <algorithm>

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

// Reads and decodes the log piece by piece, letting the window breathe in between: a log
// of a hundred megabytes takes well over a second. The log may grow meanwhile (a
// scheduled snapshot can run while the window breathes), so room is made as needed.
QString ReadHistoryText(platform::Services& services, const std::string& logPath) {
    QString text(static_cast<qsizetype>(services.fileSystem.pathInfo(logPath).size),
                 Qt::Uninitialized);
    QStringDecoder decoder(QStringDecoder::System);
    qsizetype used = 0;
    services.fileSystem.readFile(logPath, [&](std::string_view chunk) {
        const qsizetype needed = used + decoder.requiredSpace(static_cast<qsizetype>(chunk.size()));
        if (needed > text.size()) {
            text.resize(std::max(needed, 2 * text.size()));
        }
        const QChar* end = decoder.appendToBuffer(text.data() + used, QByteArrayView(chunk));
        used = end - text.constData();
        services.events.pumpEvents();
    });
    text.truncate(used);
    return text;
}

}  // namespace

void ViewHistoryLog(const core::StepTrap& trap, platform::Services& services,
                    const std::string& logPath, const std::string& appTitle) {
    if (core::FileExists(services.fileSystem, logPath)) {
        trap.run(100, [&] { services.shell.viewTextFile(logPath); });
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
    QString history;
    const bool loaded = trap.run(100, [&] { history = ReadHistoryText(services, logPath); });
    // A log that couldn't be read leaves the clipboard as it was: copying anything else
    // would hand the user a history that is not the log's.
    if (loaded) {
        trap.run(102, [&] { services.clipboard.putText(history); });
    }
}

void ClearHistoryLog(const core::StepTrap& trap, platform::Services& services,
                     const std::string& logPath, const std::string& appTitle,
                     const std::function<void()>& emptySnapshotList) {
    platform::MessageAnswer answer = platform::MessageAnswer::No;
    trap.run(100, [&] {
        answer =
            ShowMessage(services.dialogs, ClearQuestion, appTitle, platform::MessageButtons::YesNo);
    });
    if (answer != platform::MessageAnswer::Yes) {
        return;
    }
    trap.run(102, [&] {
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
