#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "fakes/ObservedFileSystem.h"
#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

class KestravaLog : public CliFixture {
protected:
    // A tree before and after an hour's changes: a file removed, one resized, one
    // touched (its date alone changes), one renamed, one added in a sub-folder.
    void logChanges() {
        makeFile("keep.txt", 1536);
        makeFile("gone.txt", 10);
        makeFile("grow.txt", 100);
        makeFile("touch.txt", 2048);
        makeFile("old-name.txt", 3);
        makeFile("sub/deep.txt", 0);
        logFilesNow();
        std::filesystem::remove(tree.path() / "gone.txt");
        std::filesystem::resize_file(tree.path() / "grow.txt", 5000);
        SetModifiedTime(tree.path() / "grow.txt", Dec6At1000);
        SetModifiedTime(tree.path() / "touch.txt", Dec7At031716);
        std::filesystem::rename(tree.path() / "old-name.txt", tree.path() / "new-name.txt");
        makeFile("sub/added.txt", 1);
        logFilesNow();
    }

    void appendToLog(const std::string& bytes) const {
        std::ofstream(PathOfText(logPath), std::ios::binary | std::ios::app) << bytes;
    }
};

TEST_F(KestravaLog, DiffListsWhatChangedSortedByPathThenASummary) {
    logChanges();

    const Answer changed = run({"diff"});

    EXPECT_EQ(changed.out, "- " + logged("gone.txt") + "\n" + "M " + logged("grow.txt") + "\n" +
                               "+ " + logged("new-name.txt") + "\n" + "- " +
                               logged("old-name.txt") + "\n" + "+ " + logged("sub/added.txt") +
                               "\n" + "M " + logged("touch.txt") + "\n" +
                               "entry -2 [12/7/2026 3:17:16 AM] to entry -1 [12/7/2026 4:17:16 "
                               "AM]: 2 added, 2 removed, 2 modified\n");
    EXPECT_EQ(changed.status, 1);
    EXPECT_EQ(changed.err, "");

    logFilesNow();
    const Answer unchanged = run({"diff"});
    EXPECT_EQ(unchanged.out,
              "entry -2 [12/7/2026 4:17:16 AM] to entry -1 [12/7/2026 5:17:16 AM]: no changes\n");
    EXPECT_EQ(unchanged.status, 0);
    // One number is compared with the newest; two are compared with each other, in the
    // order given.
    EXPECT_EQ(run({"diff", "1"}).out, changed.out.substr(0, changed.out.rfind("entry -2")) +
                                          "entry 1 [12/7/2026 3:17:16 AM] to entry -1 [12/7/2026 "
                                          "5:17:16 AM]: 2 added, 2 removed, 2 modified\n");
    const Answer backward = run({"diff", "-2", "-3"});
    EXPECT_EQ(backward.status, 1);
    EXPECT_EQ(backward.out.substr(0, backward.out.find('\n')), "+ " + logged("gone.txt"));
    EXPECT_EQ(run({"diff", "2", "-2"}).status, 0);
}

// A JSON string of a path: the backslashes of Windows paths doubled.
std::string JsonString(std::string text) {
    for (std::size_t at = 0; (at = text.find('\\', at)) != std::string::npos; at += 2) {
        text.insert(at, "\\");
    }
    return "\"" + text + "\"";
}

TEST_F(KestravaLog, DiffAsJsonHoldsBothEntriesAndEveryChangeWithItsSizeAndDate) {
    makeFile("resized.txt", 10);
    makeFile("gone.txt", 0);
    logFilesNow();
    std::filesystem::resize_file(tree.path() / "resized.txt", 2048);
    SetModifiedTime(tree.path() / "resized.txt", Dec7At031716);
    std::filesystem::remove(tree.path() / "gone.txt");
    makeFile("new.txt", 1024);
    logFilesNow();

    const Answer answer = run({"diff", "--json"});

    EXPECT_EQ(
        answer.out,
        "{\n"
        "  \"from\": {\"entry\": -2, \"date\": \"12/7/2026 3:17:16 AM\", \"files\": 2},\n"
        "  \"to\": {\"entry\": -1, \"date\": \"12/7/2026 4:17:16 AM\", \"files\": 2},\n"
        "  \"added\": [\n"
        "    {\"path\": " +
            JsonString(logged("new.txt")) +
            ", \"size\": \"1 KB\", \"modified\": \"12/6/2026 10:00:00 AM\"}\n"
            "  ],\n"
            "  \"removed\": [\n"
            "    {\"path\": " +
            JsonString(logged("gone.txt")) +
            ", \"size\": \"0 Bytes\", \"modified\": \"12/6/2026 10:00:00 AM\"}\n"
            "  ],\n"
            "  \"modified\": [\n"
            "    {\"path\": " +
            JsonString(logged("resized.txt")) +
            ", \"before\": {\"size\": \"10 Bytes\", \"modified\": \"12/6/2026 10:00:00 AM\"}, "
            "\"after\": {\"size\": \"2 KB\", \"modified\": \"12/7/2026 3:17:16 AM\"}}\n"
            "  ]\n"
            "}\n");
    EXPECT_EQ(answer.status, 1);
}

TEST_F(KestravaLog, EntriesGivesEachEntrysDateFilesAndChangesAsTextAndJson) {
    logChanges();
    logFilesNow();

    const Answer text = run({"entries"});
    const Answer json = run({"entries", "--json"});

    EXPECT_EQ(text.out,
              "1  12/7/2026 3:17:16 AM  6 files\n"
              "2  12/7/2026 4:17:16 AM  6 files  +2 -2 M2\n"
              "3  12/7/2026 5:17:16 AM  6 files  +0 -0 M0\n");
    EXPECT_EQ(
        json.out,
        "[\n"
        "  {\"entry\": 1, \"date\": \"12/7/2026 3:17:16 AM\", \"files\": 6, \"changes\": null},\n"
        "  {\"entry\": 2, \"date\": \"12/7/2026 4:17:16 AM\", \"files\": 6, \"changes\": "
        "{\"added\": 2, \"removed\": 2, \"modified\": 2}},\n"
        "  {\"entry\": 3, \"date\": \"12/7/2026 5:17:16 AM\", \"files\": 6, \"changes\": "
        "{\"added\": 0, \"removed\": 0, \"modified\": 0}}\n"
        "]\n");
    EXPECT_EQ(text.status + json.status, 0);
}

// One file and at most one folder a folder, so that the file system's order within a
// folder shows nowhere.
TEST_F(KestravaLog, ShowGivesAnEntrysFilesAsLoggedAsCsvAndAsJson) {
    makeFile("a, b.txt", 1536);
    makeFile("sub/c.txt", 0, Dec7At031716);
    logFilesNow();
    makeFile("sub/z/d.txt", 1);
    logFilesNow();

    EXPECT_EQ(run({"show"}).out, logged("a, b.txt") + "|1.5 KB|12/6/2026 10:00:00 AM\n" +
                                     logged("sub/c.txt") + "|0 Bytes|12/7/2026 3:17:16 AM\n" +
                                     logged("sub/z/d.txt") + "|1 Bytes|12/6/2026 10:00:00 AM\n");
    EXPECT_EQ(run({"show", "-2", "--csv"}).out, "path,size,modified\r\n\"" + logged("a, b.txt") +
                                                    "\",1.5 KB,12/6/2026 10:00:00 AM\r\n" +
                                                    logged("sub/c.txt") +
                                                    ",0 Bytes,12/7/2026 3:17:16 AM\r\n");
    EXPECT_EQ(run({"show", "1", "--json"}).out,
              "[\n  {\"path\": " + JsonString(logged("a, b.txt")) +
                  ", \"size\": \"1.5 KB\", \"modified\": \"12/6/2026 10:00:00 AM\"},\n"
                  "  {\"path\": " +
                  JsonString(logged("sub/c.txt")) +
                  ", \"size\": \"0 Bytes\", \"modified\": \"12/7/2026 3:17:16 AM\"}\n]\n");
}

TEST_F(KestravaLog, ALogThatCantBeReadAsEntriesIsOneLineOfErrorAndStatus2) {
    const std::string missing = run({"entries"}).err;
    EXPECT_EQ(missing, "kestrava-log: no history log at " + logPath + "\n");
    appendToLog("");
    EXPECT_EQ(run({"diff"}).err, "kestrava-log: the history log " + logPath + " is empty\n");
    appendToLog(
        {'\x7f', 'E', 'L', 'F', '\x02', '\x01', '\x01', '\0', '\0', '\x03', '\0', '>', '['});
    for (const auto& command : {"entries", "diff", "show"}) {
        const Answer answer = run({command});
        EXPECT_EQ(answer.status, 2) << command;
        EXPECT_EQ(answer.out, "") << command;
        EXPECT_EQ(answer.err,
                  "kestrava-log: the history log " + logPath + " holds no whole entry\n")
            << command;
    }
    EXPECT_EQ(run({"--log", logged("nowhere.txt"), "show"}).status, 2);
}

// The program that wrote the log was ended in the middle of an entry's line: the entries
// before it still answer.
TEST_F(KestravaLog, ATornNewestEntryIsReportedAndTheWholeOnesStillAnswer) {
    logChanges();
    appendToLog("[12/7/2026 5:17:16 AM]\r\nFile|Size|Date Modified\r\n" + logged("keep.txt") +
                "|1.5 K");

    const Answer diff = run({"diff"});
    const Answer entries = run({"entries"});

    const std::string torn =
        "kestrava-log: the newest entry [12/7/2026 5:17:16 AM] is torn: the log ends in the "
        "middle of it; it is left out\n";
    EXPECT_EQ(diff.err, torn);
    EXPECT_EQ(diff.status, 1);
    EXPECT_TRUE(diff.out.ends_with("2 added, 2 removed, 2 modified\n"));
    EXPECT_EQ(entries.err, torn);
    EXPECT_EQ(std::count(entries.out.begin(), entries.out.end(), '\n'), 2);
}

// A program appending an entry holds the log: a reader waits until the entry is whole,
// and doesn't take a half-written one for the newest.
TEST_F(KestravaLog, AReaderWaitsForAnEntryBeingWrittenToEnd) {
    logChanges();
    auto writer = native.fileSystem().openForAppending(logPath);
    ASSERT_NE(writer, nullptr);
    writer->append("[12/7/2026 5:17:16 AM]\r\nFile|Size|Date Modified\r\n");

    Answer diff;
    std::thread reader([&] { diff = run({"diff"}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (const char* file :
         {"grow.txt", "keep.txt", "new-name.txt", "sub/added.txt", "touch.txt"}) {
        writer->append(logged(file) + "|1 Bytes|12/6/2026 10:00:00 AM\r\n");
    }
    writer.reset();
    reader.join();

    EXPECT_EQ(diff.err, "");
    EXPECT_TRUE(diff.out.ends_with(": 0 added, 1 removed, 4 modified\n")) << diff.out;
}

TEST_F(KestravaLog, LinesThatNameNoFileAreReportedAndLeftOut) {
    makeFile("a.txt", 1);
    logFilesNow();
    appendToLog("not a file line\r\n");
    makeFile("b.txt", 1);
    logFilesNow();
    appendToLog("neither|this\r\n");

    const Answer entries = run({"entries"});
    const Answer show = run({"show", "1"});

    EXPECT_EQ(entries.out,
              "1  12/7/2026 3:17:16 AM  1 file\n2  12/7/2026 4:17:16 AM  2 files  +1 -0 M0\n");
    EXPECT_EQ(entries.err,
              "kestrava-log: entry 1 holds 1 line that names no file (not path|size|date); left "
              "out\nkestrava-log: entry 2 holds 1 line that names no file (not path|size|date); "
              "left out\n");
    EXPECT_EQ(show.out, logged("a.txt") + "|1 Bytes|12/6/2026 10:00:00 AM\n");
    EXPECT_EQ(show.status, 0);
}

TEST_F(KestravaLog, ACommandLineItCantReadIsOneLineOfErrorAndStatus2) {
    makeFile("a.txt", 1);
    logFilesNow();
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"list"},
                                               {"diff", "0"},
                                               {"diff", "1", "2", "3"},
                                               {"show", "x"},
                                               {"show", "--csv", "--json"},
                                               {"entries", "--csv"},
                                               {"entries", "--verbose"},
                                               {"snapshot"},
                                               {"show", "--log"}}) {
        const Answer answer = run(arguments);
        EXPECT_EQ(answer.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_EQ(std::count(answer.err.begin(), answer.err.end(), '\n'), 1) << answer.err;
        EXPECT_TRUE(answer.err.ends_with("(see kestrava-log --help)\n")) << answer.err;
    }
    const Answer missing = run({"show", "2"});
    EXPECT_EQ(missing.err, "kestrava-log: there is no entry 2: the log holds 1 whole entry\n");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(run({"diff"}).status, 2);
    EXPECT_EQ(run({"--help"}).status, 0);
}

// The window's "Log Current Status Now (Test)" and the command write the same entry.
TEST_F(KestravaLog, SnapshotAppendsTheEntryTheWindowWouldWrite) {
    makeFile("notes.txt", 1536);
    makeFile("~lock.tmp", 10);
    makeFile("Archive/old.zip", 2097152, Dec7At031716);
    makeFile("Archive/Empty/.hidden", 0);
    const std::string windowLog = ProgramText(temporary.path() / "window.txt");
    engine::LogFilesNow(folder(), windowLog, rows, tools);

    const Answer answer = run({"snapshot", folder()});

    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(answer.out + answer.err, "");
    EXPECT_EQ(log(), ReadWholeFile(PathOfText(windowLog)));
    EXPECT_EQ(run({"--log", windowLog, "diff"}).status, 2);  // one entry: nothing to compare
    EXPECT_EQ(run({"snapshot", folder()}).status, 0);
    EXPECT_EQ(run({"diff"}).status, 0);
}

TEST_F(KestravaLog, SnapshotSaysWhetherItsEntryWasWrittenWholeWithFailuresOrNotAtAll) {
    makeFile("a.txt", 1);
    makeFile("broken/b.txt", 1);

    const Answer missingFolder = run({"snapshot", logged("missing")});
    EXPECT_EQ(missingFolder.status, 2);
    EXPECT_EQ(missingFolder.err,
              "kestrava-log: no folder at " + logged("missing") + ": nothing was logged\n");
    EXPECT_FALSE(std::filesystem::exists(PathOfText(logPath)));

    const Answer unwritable = run({"--log", logged("missing/Kestrava.txt"), "snapshot", folder()});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_EQ(unwritable.err,
              "kestrava-log: Path not found in Ondrelix2021/08/31.IntervalSave.LogFilesNow at "
              "line 104\n");

    fakes::ObservedFileSystem failing(native.fileSystem());
    failing.failingFolder = logged("broken");
    const Answer withFailures = runOn(failing, {"snapshot", folder()});
    EXPECT_EQ(withFailures.status, 1);
    EXPECT_EQ(withFailures.err,
              "kestrava-log: Device I/O error in Ondrelix2021/08/31.IntervalSave.LogFilesNow at "
              "line 116\n");
    EXPECT_EQ(run({"show"}).out, logged("a.txt") + "|1 Bytes|12/6/2026 10:00:00 AM\n");
}

}  // namespace
}  // namespace kestrava::testing
