#include "engine/IntervalSave.h"

#include <chrono>
#include <functional>

#include "core/LocationTags.h"
#include "core/PathText.h"
#include "core/StepTrap.h"
#include "engine/AddFolder.h"
#include "engine/HistoryLog.h"
#include "engine/PrintableText.h"
#include "engine/Pumping.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {
namespace {

using platform::RuntimeError;

// LogFilesNow's steps, as its error report numbers them.
namespace step {
constexpr int FolderExists = 100;
constexpr int DateRow = 102;
constexpr int DateLine = 104;
constexpr int HeaderLine = 105;
constexpr int ListFiles = 116;
constexpr int FileRow = 124;
constexpr int SizeText = 128;
constexpr int DateText = 130;
constexpr int HistoryLine = 132;
constexpr int SeparatorRow = 136;
}  // namespace step

std::int64_t NowSeconds(const platform::Clock& clock) {
    return std::chrono::floor<std::chrono::seconds>(clock.now().time_since_epoch()).count();
}

// "[date and time]". Appended rather than joined with "+": GCC 12 at -O3 sees a
// false overlap in inserting before a temporary string, and warnings are errors.
std::string EntryDateLine(const std::string& dateTime) {
    return std::string("[").append(dateTime).append("]");
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

// One snapshot under way: its rows, its history-log entry, and what it writes per file.
class Snapshot {
public:
    Snapshot(const std::string& historyLogPath, SnapshotRows& rows, SnapshotTools& tools,
             std::stop_token startOver)
        : rows_(rows),
          tools_(tools),
          trap_(tools.errorReport, core::location_tag::LogFilesNow),
          events_(rows, tools.events),
          log_({tools.fileSystem, tools.locale, events_, tools.clock, tools.switchInWaitingCutLog},
               historyLogPath, trap_),
          startOver_(std::move(startOver)),
          // The history deleted and started over: this entry, begun in the old log, must
          // not open a new one without its first lines. The log is let go at once, before
          // the deletion, which a file held open could keep from taking effect.
          abandonEntry_(startOver_, [this] { log_.abandon(); }) {}

    SnapshotOutcome take(const std::string& folder, const WalkFilter* filter) {
        trap_.run(step::DateRow, [&] { rows_.beginSnapshot(dateTime()); });
        trap_.run(step::DateLine, [&] { log_.addLine(step::DateLine, EntryDateLine(dateTime())); });
        trap_.run(step::HeaderLine,
                  [&] { log_.addLine(step::HeaderLine, "File|Size|Date Modified"); });
        const WalkSeams seams{tools_.fileSystem, tools_.errorReport};
        TreeWalk walk = GetSubDirectories2016(folder, seams, filter);
        while (auto walked = walk.next(events_)) {
            events_.pumpEvents();
            if (startedOver() || !addFolder(*walked)) {
                return outcome();
            }
        }
        trap_.run(step::SeparatorRow, [&] { rows_.endSnapshot(); });
        log_.finish();
        return outcome();
    }

private:
    bool startedOver() const { return startOver_.stop_requested(); }

    SnapshotOutcome outcome() const {
        return log_.written() ? SnapshotOutcome::Written : SnapshotOutcome::NotWritten;
    }

    std::string dateTime() { return tools_.dates.text(NowSeconds(tools_.clock)); }

    // A row and a history line per file of the folder; false when the events that ran
    // in between started the history over.
    bool addFolder(const WalkedFolder& walked) {
        if (walked.failure) {
            trap_.run(step::ListFiles, [&] { throw *walked.failure; });
            return !startedOver();
        }
        // The folder without its last character (its separator), then a separator.
        pathStart_.clear();
        const std::string& folder = walked.path;
        AppendPrintable(pathStart_, std::string_view(folder).substr(0, folder.size() - 1));
        pathStart_ += core::PathSeparator;
        rows_.beginFolder(pathStart_);
        for (std::size_t index = 0; index < walked.files.size(); ++index) {
            if (index % EntriesBetweenPumps == EntriesBetweenPumps - 1) {
                events_.pumpEvents();
                if (startedOver()) {
                    return false;
                }
            }
            const FileList::File file = walked.files[index];
            if (!file.name.starts_with('~')) {
                addFile(file);
            }
        }
        return true;
    }

    void addFile(const FileList::File& file) {
        name_.clear();
        AppendPrintable(name_, file.name);
        std::string size;
        trap_.run(step::SizeText, [&] { size = tools_.sizeText(file.size); });
        date_.clear();
        trap_.run(step::DateText, [&] { tools_.dates.append(file.modifiedSeconds, date_); });
        trap_.run(step::FileRow, [&] { rows_.addFile(name_, file.size, file.modifiedSeconds); });
        trap_.run(step::HistoryLine, [&] {
            std::string& line = log_.beginLine(step::HistoryLine);
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
    SnapshotTools& tools_;
    const core::StepTrap trap_;
    PublishingPump events_;
    HistoryLogEntry log_;
    std::stop_token startOver_;
    std::stop_callback<std::function<void()>> abandonEntry_;
    std::string pathStart_;  // printable, as every path of the log and the list
    std::string name_;
    std::string date_;
};

}  // namespace

SnapshotOutcome LogFilesNow(const std::string& folderText, const std::string& historyLogPath,
                            SnapshotRows& rows, SnapshotTools& tools, std::stop_token startOver,
                            const WalkFilter* filter) {
    if (folderText.empty()) {
        return SnapshotOutcome::NotTaken;  // a separator added to nothing would name the root
    }
    const std::string folder = core::WithTrailingSeparator(folderText);
    const core::StepTrap trap(tools.errorReport, core::location_tag::LogFilesNow);
    bool present = false;
    trap.run(step::FolderExists, [&] { present = FolderIsPresent(tools.fileSystem, folder); });
    if (!present) {
        return SnapshotOutcome::NotTaken;
    }
    return Snapshot(historyLogPath, rows, tools, std::move(startOver)).take(folder, filter);
}

}  // namespace kestrava::engine
