#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "core/LocationTags.h"
#include "engine/HistoryLog.h"
#include "engine/SnapshotRunner.h"
#include "platform/PathRules.h"
#include "support/Unprivileged.h"
#include "unit/engine/EngineFixture.h"

namespace kestrava::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t Dec6At1000 = 1796551200;     // 2026-12-06 10:00:00 UTC
constexpr std::int64_t Nov30At162005 = 1796055605;  // 2026-11-30 16:20:05 UTC
constexpr std::int64_t Dec5Midnight = 1796428800;   // 2026-12-05 00:00:00 UTC

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the log ends in the middle of a line";
    return lines;
}

std::string Report(int number, int step) {
    return core::ErrorReport::text(platform::RuntimeError(number), core::location_tag::LogFilesNow,
                                   step);
}

class LogFilesNowTest : public EngineFixture {};

TEST_F(LogFilesNowTest, WritesTwoWholeEntriesByteForByte) {
    makeFile("notes.txt", 1536, Dec6At1000);
    makeFile("~lock.tmp", 10, Dec6At1000);
    makeFile("Archive/old.zip", 2097152, Nov30At162005);

    logFilesNow(folder());
    clock.currentTime += std::chrono::seconds(3600 + 42);
    logFilesNow(tree.string());  // no final separator: one is added

    const std::string watch = tree.string();
    const std::string entry = "File|Size|Date Modified\r\n" + watch +
                              "/notes.txt|1.5 KB|12/6/2026 10:00:00 AM\r\n" + watch +
                              "/Archive/old.zip|2 MB|11/30/2026 4:20:05 PM\r\n";
    EXPECT_EQ(log(), "[12/7/2026 3:17:16 AM]\r\n" + entry + "[12/7/2026 4:17:58 AM]\r\n" + entry);
    EXPECT_TRUE(dialogs.shown.empty());
    // 2 x (date row + 2 files + separator), the files in the log's order.
    EXPECT_EQ(rowTexts(0),
              (std::vector<std::string>{"12/7/2026 3:17:16 AM", watch + "/notes.txt",
                                        watch + "/Archive/old.zip", "", "12/7/2026 4:17:58 AM",
                                        watch + "/notes.txt", watch + "/Archive/old.zip", ""}));
    EXPECT_EQ(rowTexts(1),
              (std::vector<std::string>{"", "1.5 KB", "2 MB", "", "", "1.5 KB", "2 MB", ""}));
    EXPECT_EQ(rows.text(1, 2), "12/6/2026 10:00:00 AM");
}

TEST_F(LogFilesNowTest, AMissingFolderChangesNothing) {
    logFilesNow(folder("missing"));
    logFilesNow("");  // an empty box names no folder, least of all the root
    EXPECT_FALSE(fs::exists(logPath));
    EXPECT_EQ(rows.rowCount(), 0u);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LogFilesNowTest, AnEmptyFolderGivesTheTwoFirstLinesAndTwoRows) {
    logFilesNow(folder());
    EXPECT_EQ(log(), "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n");
    EXPECT_EQ(rowTexts(0), (std::vector<std::string>{"12/7/2026 3:17:16 AM", ""}));
}

TEST_F(LogFilesNowTest, AFolderWhosePresenceCantBeToldGivesOneReportAndNoEntry) {
    const std::string tooLong = folder() + std::string(platform::PathLengthLimit, 'x');
    logFilesNow(tooLong);
    EXPECT_EQ(reports(),
              std::vector<std::string>{Report(platform::error_number::BadFileName, 100)});
    EXPECT_FALSE(fs::exists(logPath));
    EXPECT_EQ(rows.rowCount(), 0u);
}

TEST_F(LogFilesNowTest, ListsFilesLevelByLevelWithTheirOwnBytesAndMidnightDates) {
    makeFile("Top/North/Deep/deep.txt", 1, Dec6At1000);
    makeFile("Top/South/south.txt", 1, Dec6At1000);
    makeFile("Top/.hidden", 0, Dec5Midnight);
    makeFile("Top/raw \xe9t\xe9.txt", 1023, Dec6At1000);  // a Latin-1 name, not UTF-8

    logFilesNow(folder("Top"));

    const auto lines = Lines(log());
    const std::string top = tree.string() + "/Top";
    ASSERT_EQ(lines.size(), 6u);
    // The chosen folder's own files first, in the file system's order.
    std::vector<std::string> own(lines.begin() + 2, lines.begin() + 4);
    std::sort(own.begin(), own.end());
    EXPECT_EQ(own, (std::vector<std::string>{top + "/.hidden|0 Bytes|12/5/2026",
                                             top + "/raw \xe9t\xe9.txt|1023 Bytes|"
                                                   "12/6/2026 10:00:00 AM"}));
    EXPECT_EQ(lines[4], top + "/South/south.txt|1 Bytes|12/6/2026 10:00:00 AM");
    EXPECT_EQ(lines[5], top + "/North/Deep/deep.txt|1 Bytes|12/6/2026 10:00:00 AM");
}

// Anyone who can create a file in the watched tree could otherwise forge history: a
// name holding CR LF would end its line and start an entry of its own.
TEST_F(LogFilesNowTest, ANameCanNeitherBreakNorForgeALine) {
    const std::string forger =
        "x\r\n[12.1.2020 01:00:00]\r\nFile|Size|Date Modified\r\nforged.txt|1 KB|12.1.2020";
    makeFile(forger, 3, Dec6At1000);
    makeFile("Pipe|d/tab\tand\x7f.txt", 1, Dec6At1000);
    // A folder's name can't forge lines either, and what lies below it is listed.
    makeFile("Pipe|d/Bob\r\ns files?/inside.txt", 2, Dec6At1000);

    logFilesNow(folder());

    const std::string watch = tree.string();
    EXPECT_EQ(log(), "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n" + watch +
                         "/x??[12.1.2020 01:00:00]??File|Size|Date Modified??forged.txt|1 KB|"
                         "12.1.2020|3 Bytes|12/6/2026 10:00:00 AM\r\n" +
                         watch + "/Pipe|d/tab?and?.txt|1 Bytes|12/6/2026 10:00:00 AM\r\n" + watch +
                         "/Pipe|d/Bob??s files?/inside.txt|2 Bytes|12/6/2026 10:00:00 AM\r\n");
    EXPECT_EQ(rowTexts(0)[1], watch +
                                  "/x??[12.1.2020 01:00:00]??File|Size|Date Modified??"
                                  "forged.txt|1 KB|12.1.2020");
    EXPECT_EQ(rowTexts(0)[2], watch + "/Pipe|d/tab?and?.txt");
    EXPECT_EQ(rowTexts(0)[3], watch + "/Pipe|d/Bob??s files?/inside.txt");
    EXPECT_EQ(rows.rowCount(), 5u);
}

TEST_F(LogFilesNowTest, NeitherListsNorWaitsForAFifoAndSurvivesALinkLoop) {
    ::alarm(20);  // a FIFO that blocked would hang the test; end it instead
    makeFile("file.txt", 5);
    ASSERT_EQ(::mkfifo((tree.path() / "pipe").c_str(), 0600), 0);
    makeFolder("Loop");
    fs::create_directory_symlink("..", tree.path() / "Loop" / "back");

    logFilesNow(folder());
    ::alarm(0);

    const auto lines = Lines(log());
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines.back(), tree.string() + "/file.txt|5 Bytes|12/7/2026 3:17:16 AM");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LogFilesNowTest, AnUnwritableLogGivesOneReportAndStillFillsTheList) {
    for (int file = 0; file < 4000; ++file) {  // more than one chunk of the log
        makeFile("many/file number " + std::to_string(file) + ".txt");
    }
    temporary.writeFile("not-a-folder");
    logPath = (temporary.path() / "not-a-folder" / "Kestrava.txt").string();

    logFilesNow(folder());

    EXPECT_EQ(reports(),
              std::vector<std::string>{Report(platform::error_number::PathNotFound, 104)});
    EXPECT_EQ(rows.rowCount(), 4002u);
}

// Another program (kestrava-log snapshot) writing an entry of its own holds the log
// locked: the snapshot waits for it, events running, and its entry follows whole.
TEST_F(LogFilesNowTest, WaitsForAnotherProgramsEntryAndFollowsIt) {
    makeFile("a.txt", 1);
    auto other = fileSystem.openForAppending(logPath);
    ASSERT_NE(other, nullptr);
    other->append("[other]\r\nFile|Size|Date Modified\r\n");
    events.onWait = [&](std::chrono::milliseconds longest) {
        clock.monotonicTime += longest;
        if (events.waits.size() == 3) {
            other->append("/elsewhere/x|1 Bytes|12/7/2026 3:17:16 AM\r\n");
            other.reset();
        }
    };

    logFilesNow(folder());

    EXPECT_EQ(log(),
              "[other]\r\nFile|Size|Date Modified\r\n/elsewhere/x|1 Bytes|12/7/2026 "
              "3:17:16 AM\r\n[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n" +
                  tree.string() + "/a.txt|1 Bytes|12/7/2026 3:17:16 AM\r\n");
    EXPECT_EQ(events.waits.size(), 3u);
    EXPECT_TRUE(dialogs.shown.empty());
}

// A program ended in the middle of a line leaves the log cut there: the next entry
// begins on a line of its own all the same, where a reader finds it.
TEST_F(LogFilesNowTest, AnEntryAfterALogCutMidLineBeginsOnALineOfItsOwn) {
    makeFile("a.txt", 1);
    const std::string cut = "[12/7/2026 2:00:00 AM]\r\nFile|Size|Date Modified\r\n/elsewhere/x|1 K";
    temporary.writeFile("Kestrava.txt", cut);

    logFilesNow(folder());

    EXPECT_EQ(log(), cut + "\r\n[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n" +
                         tree.string() + "/a.txt|1 Bytes|12/7/2026 3:17:16 AM\r\n");
}

// The window and `kestrava-log snapshot` write one log at the same moment, each entry of
// several chunks: every entry stays whole, its lines together, whoever comes first.
TEST_F(LogFilesNowTest, TwoProgramsWritingOneLogNeverInterleaveTheirEntries) {
    const std::string name(60, 'n');
    for (int file = 0; file < 3000; ++file) {  // more than a chunk of the log each
        makeFile("mine/" + name + std::to_string(file));
        makeFile("theirs/" + name + std::to_string(file));
    }
    const pid_t other = ::fork();
    if (other == 0) {
        for (int snapshot = 0; snapshot < 3; ++snapshot) {
            logFilesNow(folder("theirs"));
        }
        ::_exit(dialogs.shown.empty() ? 0 : 1);
    }
    for (int snapshot = 0; snapshot < 3; ++snapshot) {
        logFilesNow(folder("mine"));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the other program reported a failure";
    EXPECT_TRUE(dialogs.shown.empty());

    // Each entry: its date line, its header, then 3000 lines of one folder alone.
    const auto lines = Lines(log());
    ASSERT_EQ(lines.size(), 6u * (2 + 3000));
    for (std::size_t start = 0; start < lines.size(); start += 3002) {
        ASSERT_TRUE(lines[start].starts_with('[')) << "line " << start;
        ASSERT_EQ(lines[start + 1], "File|Size|Date Modified");
        const std::string folder = lines[start + 2].substr(0, lines[start + 2].find(name));
        for (std::size_t line = start + 2; line < start + 3002; ++line) {
            ASSERT_TRUE(lines[line].starts_with(folder)) << "line " << line << ": " << lines[line];
        }
    }
}

// An entry that never ends (a program hung in the middle of one) keeps the lock: the
// snapshot gives up after a while, says so once, and still fills the list.
TEST_F(LogFilesNowTest, ALockHeldTooLongIsReportedAndTheListStillFilled) {
    makeFile("a.txt", 1);
    const auto other = fileSystem.openForAppending(logPath);
    events.onWait = [&](std::chrono::milliseconds longest) { clock.monotonicTime += longest; };

    logFilesNow(folder());

    EXPECT_EQ(reports(),
              std::vector<std::string>{Report(platform::error_number::PermissionDenied, 104)});
    EXPECT_EQ(events.waits.size(), static_cast<std::size_t>(engine::HistoryLogEntry::LockWait /
                                                            engine::HistoryLogEntry::LockRetry));
    EXPECT_EQ(log(), "");
    EXPECT_EQ(rows.rowCount(), 3u);
}

TEST_F(LogFilesNowTest, DropsAFolderThatDeniesListingAndKeepsItsSiblings) {
    makeFile("Open/a.txt", 1);
    makeFile("Locked/b.txt", 1);
    makeFile("Also open/c.txt", 1);
    fs::permissions(tree.path() / "Locked", fs::perms::none);
    OpenToEveryone(tree.path());
    OpenToEveryone(temporary.path(), true);

    const std::string outcome = RunUnprivileged([&] {
        logFilesNow(folder());
        return log() + "reports: " + std::to_string(dialogs.shown.size());
    });

    const auto lines = Lines(outcome.substr(0, outcome.rfind("\r\n") + 2));
    std::vector<std::string> files(lines.begin() + 2, lines.end());
    std::sort(files.begin(), files.end());
    const std::string watch = tree.string();
    EXPECT_EQ(files,
              (std::vector<std::string>{watch + "/Also open/c.txt|1 Bytes|12/7/2026 3:17:16 AM",
                                        watch + "/Open/a.txt|1 Bytes|12/7/2026 3:17:16 AM"}));
    EXPECT_TRUE(outcome.ends_with("reports: 0")) << outcome;
    fs::permissions(tree.path() / "Locked", fs::perms::owner_all);
}

TEST_F(LogFilesNowTest, ARequestDuringASnapshotRunsWholeAfterIt) {
    makeFile("one.txt", 1);
    makeFile("North/two.txt", 2);
    makeFile("South/three.txt", 3);
    engine::SnapshotRunner runner(tools);
    const engine::SnapshotJob job{folder(), logPath, rows};
    std::vector<engine::SnapshotRequest> nested;
    std::vector<std::string> afterwards;
    events.onPump = [&] {
        if (nested.size() < 2) {  // a click, and a second one coalesced with it
            const std::string name = "click " + std::to_string(nested.size() + 1);
            nested.push_back(
                runner.requestSnapshot(job, [&, name] { afterwards.push_back(name); }));
        }
    };

    EXPECT_EQ(runner.requestSnapshot(job, [&] { afterwards.push_back("first"); }),
              engine::SnapshotRequest::Taken);

    EXPECT_EQ(nested, (std::vector<engine::SnapshotRequest>{engine::SnapshotRequest::Queued,
                                                            engine::SnapshotRequest::Queued}));
    EXPECT_EQ(afterwards, (std::vector<std::string>{"first", "click 1", "click 2"}))
        << "each request's own work, once the snapshot it asked for was taken";
    EXPECT_FALSE(runner.running());
    const auto lines = Lines(log());
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              std::vector<std::string>(lines.begin() + 5, lines.end()));
    EXPECT_EQ(lines[0], "[12/7/2026 3:17:16 AM]");
    EXPECT_EQ(rows.rowCount(), 10u);
}

}  // namespace
}  // namespace kestrava::testing
