#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "history/Pruning.h"
#include "history/StoreContent.h"
#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

using history::CompactionStep;

constexpr std::int64_t Dec1At0800 = 1796112000;  // 2026-12-01 08:00:00 UTC
constexpr std::int64_t Day = 86400;

// Stands for a program killed right after a step: the files stay as the step left them.
struct Killed {};

class Prune : public CliFixture {
protected:
    // An entry written by the window's engine at that moment, of a tree that changes a
    // little from one entry to the next.
    void logAt(std::int64_t utcSeconds) {
        clock.currentTime = std::chrono::system_clock::from_time_t(utcSeconds);
        ++logged_;
        makeFile("keep " + std::to_string(logged_ % 3) + ".txt", 100 + logged_);
        makeFile("sub/new " + std::to_string(logged_) + ".txt", 1);
        if (logged_ > 2) {
            std::filesystem::remove(tree.path() / "sub" /
                                    ("new " + std::to_string(logged_ - 2) + ".txt"));
        }
        logFilesNow();
    }

    // Entries 1 to 8, at 8:00 and 9:00 on four days: --keep-daily keeps the 9:00 ones,
    // and the oldest.
    void logFourDays() {
        for (std::int64_t day = 0; day < 4; ++day) {
            logAt(Dec1At0800 + day * Day);
            logAt(Dec1At0800 + day * Day + 3600);
        }
    }

    std::vector<std::string> raws(int count) {
        std::vector<std::string> all;
        for (int number = 1; number <= count; ++number) {
            all.push_back(run({"show", std::to_string(number), "--raw"}).out);
        }
        return all;
    }

    int entryCount() {
        const std::string listed = run({"entries"}).out;
        return static_cast<int>(std::count(listed.begin(), listed.end(), '\n'));
    }

    // Everything the reading commands say of the history at `--log path`.
    std::vector<std::string> answers(const std::string& path) {
        std::vector<std::string> all = {run({"--log", path, "entries"}).out,
                                        run({"--log", path, "entries", "--json"}).out};
        for (int number = 1; number <= entryCount(); ++number) {
            all.push_back(run({"--log", path, "show", std::to_string(number), "--raw"}).out);
            all.push_back(run({"--log", path, "diff", std::to_string(number)}).out);
        }
        return all;
    }
    std::vector<std::string> answers() { return answers(logPath); }

    history::PruneOutcome prune(std::uint64_t daily, bool dryRun = false,
                                const std::function<void(CompactionStep)>& afterStep = {}) {
        history::KeepPolicy policy;
        policy.daily = daily;
        history::EntryTimeReader reader(native.englishLocale().dateTimeNames(), clock);
        return history::PruneHistory(native.fileSystem(), logPath, policy, reader,
                                     native.englishLocale(), dryRun, afterStep);
    }

    std::string storePath() const { return logPath + ".history"; }
    std::string store() const { return ReadWholeFile(PathOfText(storePath())); }

    std::vector<std::string> filesBeside() const {
        std::vector<std::string> names;
        for (const auto& file : std::filesystem::directory_iterator(temporary.path())) {
            names.push_back(file.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void appendToLog(const std::string& bytes) const {
        std::ofstream(PathOfText(logPath), std::ios::binary | std::ios::app) << bytes;
    }

    void restore(const std::string& logBytes, const std::string& storeBytes) const {
        std::filesystem::remove_all(temporary.path());
        std::filesystem::create_directories(temporary.path());
        std::ofstream(PathOfText(logPath), std::ios::binary) << logBytes;
        std::ofstream(PathOfText(storePath()), std::ios::binary) << storeBytes;
    }

    int logged_ = 0;
};

// The days' 9:00 entries and the oldest stay: 1, 2, 4, 6 and 8 of entries 1 to 4 in the
// store and 5 to 8 in the text log.
const std::vector<int> KeptByDaily = {1, 2, 4, 6, 8};

TEST_F(Prune, KeepsWhatItReportsInTheStoreAndTheTextLogAlike) {
    logFourDays();
    ASSERT_EQ(run({"compact", "--keep-text", "4"}).status, 0);
    const std::vector<std::string> before = raws(8);

    const Answer pruned = run({"prune", "--keep-daily", "4"});

    EXPECT_EQ(pruned.status, 0) << pruned.err;
    EXPECT_EQ(pruned.out.substr(0, pruned.out.find("3  ")),
              "1  12/1/2026 8:00:00 AM  keep  oldest\n"
              "2  12/1/2026 9:00:00 AM  keep  daily\n");
    EXPECT_NE(pruned.out.find("3  12/2/2026 8:00:00 AM  remove\n"), std::string::npos);
    EXPECT_NE(pruned.out.find("8  12/4/2026 9:00:00 AM  keep  newest, daily\n"), std::string::npos);
    EXPECT_NE(pruned.out.find("5 entries kept, 3 entries removed\n"), std::string::npos);
    EXPECT_NE(pruned.out.find(" holds 4 entries in "), std::string::npos) << pruned.out;
    ASSERT_EQ(entryCount(), 5);
    for (std::size_t at = 0; at < KeptByDaily.size(); ++at) {
        EXPECT_EQ(run({"show", std::to_string(at + 1), "--raw"}).out, before[KeptByDaily[at] - 1])
            << "entry " << KeptByDaily[at];
    }
    // Entry 6 stays and came before entry 7, which went: it moved into the store.
    EXPECT_EQ(log(), before[7]);

    // What the commands say of it is what they say of a log of the kept entries alone.
    const std::string model = ProgramText(tree.path() / "model.txt");
    std::ofstream modelFile(PathOfText(model), std::ios::binary);
    for (const int number : KeptByDaily) {
        modelFile << before[number - 1];
    }
    modelFile.close();
    EXPECT_EQ(answers(), answers(model));
}

TEST_F(Prune, WhenTheTextLogLosesNothingItStaysByteForByte) {
    logFourDays();
    ASSERT_EQ(run({"compact"}).status, 0);
    const std::string text = log();
    const std::vector<std::string> before = raws(8);

    EXPECT_EQ(prune(4).report.removed, 3U);

    EXPECT_EQ(log(), text);
    ASSERT_EQ(entryCount(), 5);
    EXPECT_EQ(raws(5).back(), before.back());
    EXPECT_EQ(raws(5)[2], before[3]);
    EXPECT_EQ(prune(4).report.removed, 0U);
}

TEST_F(Prune, WhatPrecedesTheFirstEntryAndATornEntryStayInTheLog) {
    std::ofstream(PathOfText(logPath), std::ios::binary) << "junk before any entry\r\n";
    logFourDays();
    const std::string newest = raws(8).back();
    appendToLog("[12/7/2026 9:00:00 AM]\r\nFile|Size|Date Mod");

    const Answer pruned = run({"prune", "--keep-daily", "4"});

    EXPECT_EQ(pruned.status, 0);
    EXPECT_EQ(pruned.err,
              "kestrava-log: the newest entry [12/7/2026 9:00:00 AM] is torn: the log ends in "
              "the middle of it; it is left out\n");
    EXPECT_EQ(log(), "junk before any entry\r\n" + newest +
                         "[12/7/2026 9:00:00 AM]\r\nFile|Size|Date Mod");
    EXPECT_EQ(entryCount(), 5);
}

TEST_F(Prune, ADryRunChangesNoByteOfEitherFile) {
    logFourDays();
    // A compaction stopped between its switches leaves a cut to finish: a dry run leaves
    // it too.
    EXPECT_THROW(history::CompactHistory(native.fileSystem(), logPath, 2,
                                         [](CompactionStep step) {
                                             if (step == CompactionStep::StoreSwitched) {
                                                 throw Killed();
                                             }
                                         }),
                 Killed);
    const std::string text = log();
    const std::string stored = store();
    const std::vector<std::string> files = filesBeside();

    const Answer dry = run({"prune", "--keep-daily", "4", "--dry-run"});
    const Answer json = run({"prune", "--keep-daily=4", "--dry-run", "--json"});

    EXPECT_EQ(dry.status, 0);
    EXPECT_NE(dry.out.find("5 entries kept, 3 entries would be removed (a dry run: nothing was "
                           "changed)\n"),
              std::string::npos);
    EXPECT_EQ(json.out.rfind("[\n  {\"entry\": 1, \"date\": \"12/1/2026 8:00:00 AM\", \"kept\": "
                             "true, \"rules\": [\"oldest\"]},\n",
                             0),
              0U)
        << json.out;
    EXPECT_EQ(log(), text);
    EXPECT_EQ(store(), stored);
    EXPECT_EQ(filesBeside(), files);
}

// Killed after any step, the history reads as before until the new store is in place,
// and as after from then on; run again, prune finishes, leaving no file behind.
TEST_F(Prune, KilledAtAnyStepTheHistoryReadsAsBeforeOrAfterAndARerunFinishes) {
    for (const CompactionStep step :
         {CompactionStep::StoreWritten, CompactionStep::TextCopied, CompactionStep::Locked,
          CompactionStep::TextCompleted, CompactionStep::StoreSwitched,
          CompactionStep::TextSwitched}) {
        restore("", "");
        std::filesystem::remove(PathOfText(storePath()));
        logFourDays();
        history::CompactHistory(native.fileSystem(), logPath, 4);
        const std::string text = log();
        const std::string stored = store();
        const std::vector<std::string> before = answers();
        prune(4);
        const std::vector<std::string> after = answers();
        ASSERT_NE(after, before);
        restore(text, stored);

        EXPECT_THROW(prune(4, false,
                           [&](CompactionStep reached) {
                               if (reached == step) {
                                   throw Killed();
                               }
                           }),
                     Killed);

        const bool switched = step >= CompactionStep::StoreSwitched;
        EXPECT_EQ(answers(), switched ? after : before)
            << "killed after step " << static_cast<int>(step);
        EXPECT_EQ(run({"prune", "--keep-daily", "4"}).status, 0);
        EXPECT_EQ(answers(), after) << "run again after step " << static_cast<int>(step);
        EXPECT_EQ(filesBeside(), (std::vector<std::string>{"Kestrava.txt", "Kestrava.txt.history"}))
            << "run again after step " << static_cast<int>(step);
    }
}

TEST_F(Prune, AnEntryAppendedWhilePruneRunsIsKept) {
    for (const CompactionStep step : {CompactionStep::StoreWritten, CompactionStep::TextCopied}) {
        restore("", "");
        std::filesystem::remove(PathOfText(storePath()));
        logFourDays();
        history::CompactHistory(native.fileSystem(), logPath, 4);
        const std::vector<std::string> before = raws(8);
        std::string appended;

        const auto outcome = prune(4, false, [&](CompactionStep reached) {
            if (reached == step) {
                const std::string text = log();
                logAt(Dec1At0800 + 4 * Day);
                appended = log().substr(text.size());
            }
        });

        EXPECT_EQ(outcome.report.removed, 3U);
        ASSERT_EQ(entryCount(), 6);
        EXPECT_EQ(raws(6).back(), appended);
        EXPECT_EQ(log(), before.back() + appended);
    }
}

TEST_F(Prune, ItsCommandLineIsChecked) {
    logFourDays();

    EXPECT_EQ(run({"prune"}).err,
              "kestrava-log: " + std::string(history::NoKeepRule) + " (see kestrava-log --help)\n");
    EXPECT_EQ(run({"prune", "--dry-run"}).status, 2);
    EXPECT_EQ(run({"prune", "--keep-daily", "0"}).status, 2);
    EXPECT_EQ(run({"prune", "--keep-within", "3w"}).status, 2);
    EXPECT_EQ(run({"prune", "--keep-last"}).err,
              "kestrava-log: --keep-last takes a value (see kestrava-log --help)\n");
    EXPECT_EQ(run({"prune", "--keep-last", "2", "--csv"}).status, 2);
    EXPECT_EQ(run({"prune", "--keep-last", "2", "3"}).status, 2);
    EXPECT_EQ(run({"entries", "--keep-daily", "3"}).status, 2);
    EXPECT_EQ(run({"compact", "--dry-run"}).status, 2);
    EXPECT_EQ(run({"prune", "--keep-text", "1", "--keep-last", "2"}).status, 2);
    EXPECT_EQ(entryCount(), 8);
    EXPECT_EQ(run({"prune", "--keep-within", "2h", "--keep-last=1"}).status, 0);
    EXPECT_EQ(entryCount(), 3);
}

}  // namespace
}  // namespace kestrava::testing
