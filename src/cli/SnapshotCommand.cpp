#include "cli/SnapshotCommand.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"
#include "history/HistoryRewrite.h"

namespace kestrava::cli {
namespace {

constexpr int WrittenWhole = 0;
constexpr int WrittenWithFailures = 1;
constexpr int NothingWritten = 2;

// The box's text on one line: its support request asks for a screenshot of a box that
// was never shown, so it goes.
std::string OneLine(std::string_view boxText) {
    boxText = boxText.substr(0, boxText.find("\r\r"));
    std::string line;
    for (const char c : boxText) {
        if (c == '\r' || c == '\n') {
            if (!line.ends_with(' ')) {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    return line;
}

// Message boxes as lines on standard error: the error reports of a snapshot, which
// answer with OK and go on.
class ErrorLines : public platform::Dialogs {
public:
    explicit ErrorLines(Console& console) : console_(console) {}

    platform::MessageAnswer showMessage(const platform::MessageBoxRequest& request) override {
        console_.complain(console_.shown(OneLine(request.text)));
        ++shown_;
        return platform::MessageAnswer::Ok;
    }

    std::string chooseFolder(const std::string&, const std::string&) override { return {}; }

    int shown() const { return shown_; }

private:
    Console& console_;
    int shown_ = 0;
};

// Without a window there are no events to let run.
class NoEvents : public platform::EventPump {
public:
    void pumpEvents() override {}
    void waitForEvents(std::chrono::milliseconds longest) override {
        std::this_thread::sleep_for(longest);
    }
    // An end asked for in the middle of a snapshot leaves its entry cut short.
    void endProgram() override { std::exit(WrittenWithFailures); }
};

// The walk asks the filter about folders and files alike.
class WalkedPaths : public engine::WalkFilter {
public:
    explicit WalkedPaths(const history::PathFilter& filter) : filter_(filter) {}

    bool goesInto(std::string_view folder) const override { return filter_.goesInto(folder); }
    bool keepsFile(std::string_view file) const override {
        return filter_.keepsInWalkedFolder(file, false);
    }

private:
    const history::PathFilter& filter_;
};

// The rows of the window's list are of no use here: the fewest are kept.
constexpr std::size_t RowsKept = 4096;

}  // namespace

int TakeSnapshot(const std::string& folder, const std::string& logPath,
                 const history::PathFilter& filter, SnapshotSeams seams, Console& console) {
    const std::string absoluteFolder = seams.fileSystem.absolutePath(folder);
    ErrorLines reports(console);
    NoEvents events;
    engine::SnapshotTools tools(seams.fileSystem, events, seams.clock, seams.locale, reports);
    tools.switchInWaitingCutLog = [&seams](const std::string& path) {
        return history::SwitchInWaitingCutLog(seams.fileSystem, path);
    };
    engine::SnapshotRows rows(tools, RowsKept, RowsKept);
    const WalkedPaths walked(filter);
    switch (engine::LogFilesNow(absoluteFolder, logPath, rows, tools, {},
                                filter.empty() ? nullptr : &walked)) {
        case engine::SnapshotOutcome::NotTaken:
            if (reports.shown() == 0) {
                console.complain("no folder at " + console.shown(absoluteFolder) +
                                 ": nothing was logged");
            }
            return NothingWritten;
        case engine::SnapshotOutcome::NotWritten:
            return NothingWritten;
        case engine::SnapshotOutcome::Written:
            break;
    }
    return reports.shown() == 0 ? WrittenWhole : WrittenWithFailures;
}

}  // namespace kestrava::cli
