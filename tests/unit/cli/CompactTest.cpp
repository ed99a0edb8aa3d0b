#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "history/Compaction.h"
#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

using history::CompactionStep;

// Stands for a program killed right after a step: the files stay as the step left them.
struct Killed {};

class Compact : public CliFixture {
protected:
    // Entries of a tree that changes a little from one to the next, written by the
    // window's engine.
    void logEntries(int count) {
        for (int entry = 0; entry < count; ++entry) {
            makeFile("keep " + std::to_string(entry % 3) + ".txt", 100 + entry);
            makeFile("sub/new " + std::to_string(entry) + ".txt", 1);
            if (entry > 1) {
                std::filesystem::remove(tree.path() / "sub" /
                                        ("new " + std::to_string(entry - 2) + ".txt"));
            }
            logFilesNow();
        }
    }

    // Everything the reading commands say of the history.
    std::vector<std::string> answers() {
        std::vector<std::string> all = {run({"entries"}).out, run({"entries", "--json"}).out,
                                        run({"diff", "1", "-1"}).out};
        const Answer listed = run({"entries"});
        const auto count = static_cast<int>(std::count(listed.out.begin(), listed.out.end(), '\n'));
        for (int number = 1; number <= count; ++number) {
            for (const char* format : {"--raw", "--json", "--csv"}) {
                const Answer shown = run({"show", std::to_string(number), format});
                all.push_back(std::to_string(shown.status) + shown.out + shown.err);
            }
            const Answer shown = run({"show", std::to_string(number)});
            all.push_back(std::to_string(shown.status) + shown.out + shown.err);
            all.push_back(run({"diff", std::to_string(number)}).out);
        }
        return all;
    }

    int entriesInText() {
        const std::string text = log();
        int count = 0;
        for (std::size_t at = text.find("File|Size|Date Modified\r\n"); at != std::string::npos;
             at = text.find("File|Size|Date Modified\r\n", at + 1)) {
            ++count;
        }
        return count;
    }

    history::CompactionReport compact(std::uint64_t keep,
                                      const std::function<void(CompactionStep)>& afterStep = {}) {
        return history::CompactHistory(native.fileSystem(), logPath, keep, afterStep);
    }

    // A history begun afresh: two entries in the store and four in the text log.
    void logStoredAndTextEntries() {
        std::filesystem::remove(PathOfText(logPath));
        std::filesystem::remove(PathOfText(storePath()));
        logEntries(3);
        compact(1);
        logEntries(3);
    }

    // A compaction keeping one entry in the text, killed right after the step.
    void compactKilledAfter(CompactionStep step) {
        EXPECT_THROW(compact(1,
                             [&](CompactionStep reached) {
                                 if (reached == step) {
                                     throw Killed();
                                 }
                             }),
                     Killed);
    }

    std::string storePath() const { return logPath + ".history"; }

    void appendToLog(const std::string& bytes) const {
        std::ofstream(PathOfText(logPath), std::ios::binary | std::ios::app) << bytes;
    }
    void writeLogBytes(const std::string& bytes) const {
        std::ofstream(PathOfText(logPath), std::ios::binary) << bytes;
    }
};

TEST_F(Compact, EveryCommandSaysOfAStoredEntryWhatItSaidOfItInTheLog) {
    logEntries(5);
    appendToLog("a line that names no file\r\n");
    logEntries(2);
    const std::vector<std::string> before = answers();

    const Answer first = run({"compact"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(entriesInText(), 1);
    EXPECT_EQ(answers(), before);

    logEntries(3);
    const std::vector<std::string> more = answers();
    EXPECT_EQ(run({"compact", "--keep-text", "2"}).status, 0);
    EXPECT_EQ(entriesInText(), 2);
    EXPECT_EQ(answers(), more);

    EXPECT_EQ(run({"compact", "--keep-text=0"}).status, 0);
    EXPECT_EQ(entriesInText(), 0);
    EXPECT_EQ(answers(), more);
    EXPECT_EQ(run({"entries"}).err,
              "kestrava-log: entry 5 holds 1 line that names no file "
              "(not path|size|date); left out\n");
}

TEST_F(Compact, TheTornEntryAndWhatPrecedesTheFirstEntryStayInTheLog) {
    writeLogBytes("junk before any entry\r\n");
    logEntries(3);
    appendToLog("[12/7/2026 9:00:00 AM]\r\nFile|Size|Date Mod");
    const std::vector<std::string> before = answers();

    EXPECT_EQ(run({"compact", "--keep-text", "0"}).status, 0);

    EXPECT_EQ(log(), "junk before any entry\r\n[12/7/2026 9:00:00 AM]\r\nFile|Size|Date Mod");
    EXPECT_EQ(answers(), before);
}

// Killed after any step, the history reads as before; run again, compact finishes.
TEST_F(Compact, KilledAtAnyStepTheHistoryReadsAsBeforeAndARerunFinishes) {
    for (const CompactionStep step :
         {CompactionStep::StoreWritten, CompactionStep::TextCopied, CompactionStep::Locked,
          CompactionStep::TextCompleted, CompactionStep::StoreSwitched,
          CompactionStep::TextSwitched}) {
        logStoredAndTextEntries();
        const std::vector<std::string> before = answers();

        compactKilledAfter(step);

        EXPECT_EQ(answers(), before) << "killed after step " << static_cast<int>(step);
        compact(1);
        EXPECT_EQ(entriesInText(), 1);
        EXPECT_EQ(answers(), before) << "run again after step " << static_cast<int>(step);
    }
}

// Windows replaces a file that is held open by moving it aside and then moving the new
// one in: killed between the two, the log is missing (or, killed while the next run held
// writers off to finish, empty) while the cut log waits beside it.
TEST_F(Compact, KilledBetweenMovingTheLogAsideAndTheCutLogInTheHistoryReadsAsBefore) {
    for (const bool logMadeAfresh : {false, true}) {
        logStoredAndTextEntries();
        const std::vector<std::string> before = answers();
        compactKilledAfter(CompactionStep::StoreSwitched);
        std::filesystem::remove(PathOfText(logPath));
        if (logMadeAfresh) {
            writeLogBytes("");
        }

        EXPECT_EQ(answers(), before);
        const Answer dryRun = run({"prune", "--keep-last", "1", "--dry-run"});
        EXPECT_EQ(dryRun.status, 0) << dryRun.err;
        EXPECT_EQ(std::filesystem::exists(PathOfText(logPath)), logMadeAfresh)
            << "a dry run changes nothing";

        compact(1);
        EXPECT_EQ(entriesInText(), 1);
        EXPECT_EQ(answers(), before);
        EXPECT_EQ(
            std::distance(std::filesystem::directory_iterator(PathOfText(logPath).parent_path()),
                          std::filesystem::directory_iterator()),
            2);
    }
}

TEST_F(Compact, ASnapshotIntoTheLogOfASwitchStoppedMidwayFollowsTheCutLog) {
    logStoredAndTextEntries();
    compactKilledAfter(CompactionStep::StoreSwitched);
    std::filesystem::remove(PathOfText(logPath));
    const std::string newest = run({"show", "-1", "--raw"}).out;

    const Answer snapshot = run({"snapshot", folder()});

    EXPECT_EQ(snapshot.status, 0) << snapshot.err;
    EXPECT_EQ(entriesInText(), 2);
    EXPECT_EQ(run({"show", "-2", "--raw"}).out, newest);
    const std::string entries = run({"entries"}).out;
    EXPECT_EQ(std::count(entries.begin(), entries.end(), '\n'), 7);
}

// A snapshot of a tree that didn't change, within the second, writes the very bytes of
// the entry before: once that one is in the store and the log cut, the new one still
// counts.
TEST_F(Compact, AnEntryTheSameByteForByteAsTheOneTakenInIsNoneTakenIn) {
    logEntries(1);
    const std::string entry = log();

    compact(0);
    appendToLog(entry);

    const std::string entries = run({"entries"}).out;
    EXPECT_EQ(std::count(entries.begin(), entries.end(), '\n'), 2);
    EXPECT_EQ(run({"show", "2", "--raw"}).out, entry);
}

TEST_F(Compact, AnEntryAppendedWhileTheLogIsCopiedStaysInTheLog) {
    logEntries(4);
    std::vector<std::string> withAppended;

    const auto report = compact(1, [&](CompactionStep step) {
        if (step == CompactionStep::TextCopied) {
            logEntries(1);
            withAppended = answers();
        }
    });

    EXPECT_EQ(report.moved, 3U);
    EXPECT_EQ(entriesInText(), 2);
    EXPECT_EQ(answers(), withAppended);
}

TEST_F(Compact, ADamagedStoreIsOneLineNamingTheEntryAndTheLogStillAnswers) {
    logEntries(3);
    compact(1);
    {
        std::fstream store(PathOfText(storePath()),
                           std::ios::in | std::ios::out | std::ios::binary);
        store.seekp(-20, std::ios::end);
        store.put('\x7f');
    }

    const Answer stored = run({"show", "1"});
    const Answer text = run({"show", "-1"});
    const Answer compacted = run({"compact"});

    EXPECT_EQ(stored.status, 2);
    EXPECT_EQ(stored.err.rfind("kestrava-log: entry 1 can't be read from the history store ", 0),
              0U)
        << stored.err;
    EXPECT_EQ(std::count(stored.err.begin(), stored.err.end(), '\n'), 1);
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(compacted.status, 2);
    EXPECT_EQ(entriesInText(), 1);
}

TEST_F(Compact, ItsCommandLineIsChecked) {
    logEntries(1);

    EXPECT_EQ(run({"compact", "--keep-text", "-1"}).err,
              "kestrava-log: --keep-text takes a number of entries, not -1 (see kestrava-log "
              "--help)\n");
    EXPECT_EQ(run({"show", "--keep-text", "1"}).status, 2);
    EXPECT_EQ(run({"compact", "--json"}).status, 2);
    EXPECT_EQ(run({"entries", "--raw"}).status, 2);
    EXPECT_EQ(run({"compact"}).out.rfind("0 entries moved into ", 0), 0U);
}

}  // namespace
}  // namespace kestrava::testing
