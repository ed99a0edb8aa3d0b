#include "engine/IntervalSave.h"

#include <chrono>

#include "core/LocationTags.h"
#include "core/PathText.h"
#include "core/StepTrap.h"
#include "engine/AddFolder.h"
#include "engine/ConvertSize.h"
#include "engine/HistoryLog.h"
#include "engine/PrintableText.h"
#include "engine/Pumping.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {
namespace {

using platform::RuntimeError;

std::int64_t NowSeconds(const platform::Clock& clock) {
    return std::chrono::floor<std::chrono::seconds>(clock.now().time_since_epoch()).count();
}

// A folder counts as present when it can be opened for listing: a missing one ends
// the snapshot without a word, one that can't be opened for another reason
// (permission denied, a vanished mount) is worth a report.
bool FolderIsPresent(const platform::FileSystem& fileSystem, const std::string& folder) {
    try {
        fileSystem.listFolder(folder);
        return true;
    } catch (const RuntimeError& error) {
        if (error.number() == platform::error_number::PathNotFound ||
            error.number() == platform::error_number::FileNotFound) {
            return false;
        }
        throw;
    }
}

// Shows the rows added so far before events run, so that whatever runs in between
// sees whole rows. Showing them costs the view some work, so it happens at most
// every PublishingGap; the end of the snapshot shows the rest.
class PublishingPump : public platform::EventPump {
public:
    static constexpr std::chrono::milliseconds PublishingGap{20};

    PublishingPump(SnapshotRows& rows, platform::EventPump& events)
        : rows_(rows), events_(events) {}

    void pumpEvents() override {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPublished_ >= PublishingGap) {
            rows_.publish();
            lastPublished_ = now;
        }
        events_.pumpEvents();
    }

    void waitForEvents(std::chrono::milliseconds longest) override {
        rows_.publish();
        events_.waitForEvents(longest);
    }

    void endProgram() override { events_.endProgram(); }

private:
    SnapshotRows& rows_;
    platform::EventPump& events_;
    std::chrono::steady_clock::time_point lastPublished_{};
};

// [112-134] Each folder's files, as the walk lists the folder: a row and a history
// line per file.
class SnapshotFiles : public FolderFilesVisitor {
public:
    SnapshotFiles(SnapshotRows& rows, HistoryLogEntry& log, SnapshotTools& tools,
                  platform::EventPump& events, const core::StepTrap& trap)
        : rows_(rows), log_(log), tools_(tools), events_(events), trap_(trap) {}

    void folderListed(const std::string& folder, const FileList& files) override {
        // [114] The folder without its last character (its separator); [122] each
        // file's path is that, a separator and the name.
        pathStart_.clear();
        AppendPrintable(pathStart_,
                        std::string_view(folder).substr(0, folder.empty() ? 0 : folder.size() - 1));
        pathStart_ += core::PathSeparator;
        rows_.beginFolder(pathStart_);
        for (std::size_t index = 0; index < files.size(); ++index) {  // [118]
            if (index % EntriesBetweenPumps == EntriesBetweenPumps - 1) {
                events_.pumpEvents();
            }
            const FileList::File file = files[index];
            if (file.name.starts_with('~')) {  // [120]
                continue;
            }
            addFile(file);
        }
    }

    void folderNotListed(const std::string&, const RuntimeError& error) override {
        trap_.run(116, [&] { throw error; });
    }

private:
    void addFile(const FileList::File& file) {
        name_.clear();
        AppendPrintable(name_, file.name);
        // [126] The size and time came with the listing.
        const std::string size =
            ConvertSize(static_cast<double>(file.size), tools_.decimalSeparator,
                        tools_.errorReport);  // [128]
        date_.clear();
        trap_.run(130, [&] { tools_.dates.append(file.modifiedSeconds, date_); });
        trap_.run(124, [&] { rows_.addFile(name_, size, date_); });
        trap_.run(132, [&] {
            std::string& line = log_.beginLine(132);
            line += pathStart_;
            line += name_;
            line += '|';
            line += size;
            line += '|';
            line += date_;
            log_.endLine();
        });
    }

    SnapshotRows& rows_;
    HistoryLogEntry& log_;
    SnapshotTools& tools_;
    platform::EventPump& events_;
    const core::StepTrap& trap_;
    std::string pathStart_;  // printable, as every path of the log and the list
    std::string name_;
    std::string date_;
};

}  // namespace

SnapshotOutcome LogFilesNow(const std::string& folderText, const std::string& historyLogPath,
                            SnapshotRows& rows, SnapshotTools& tools) {
    const core::StepTrap trap(tools.errorReport, core::location_tag::LogFilesNow);
    // A separator added to nothing would name the root of the file system.
    if (folderText.empty()) {
        return SnapshotOutcome::NotTaken;
    }
    const std::string folder = core::WithTrailingSeparator(folderText);
    bool present = false;
    trap.run(100, [&] { present = FolderIsPresent(tools.fileSystem, folder); });
    if (!present) {
        return SnapshotOutcome::NotTaken;
    }
    PublishingPump events(rows, tools.events);
    trap.run(102, [&] { rows.beginSnapshot(tools.dates.text(NowSeconds(tools.clock))); });
    HistoryLogEntry log(tools.fileSystem, tools.locale, historyLogPath, trap);
    trap.run(104, [&] {
        std::string& line = log.beginLine(104);
        line += '[';
        tools.dates.append(NowSeconds(tools.clock), line);
        line += ']';
        log.endLine();
    });
    trap.run(105, [&] { log.addLine(105, "File|Size|Date Modified"); });
    // [106] Nothing to obtain: the file system is a seam at hand.
    FolderList folders;
    trap.run(108, [&] { folders.push_back(folder); });
    // [110, 112] The walk hands each folder's files over as it lists the folder, in
    // the order of the finished folder list, so each folder is read once.
    SnapshotFiles files(rows, log, tools, events, trap);
    const WalkSeams walk{tools.fileSystem, events, tools.locale, tools.errorReport};
    trap.run(110, [&] { GetSubDirectories2016(folders, true, walk, &files); });
    trap.run(136, [&] { rows.endSnapshot(); });
    log.finish();
    return log.written() ? SnapshotOutcome::Written : SnapshotOutcome::NotWritten;
}

}  // namespace kestrava::engine
