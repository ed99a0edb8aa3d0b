#include "unit/engine/win32/WindowsEngineFixture.h"

namespace kestrava::testing {
namespace {

constexpr std::int64_t Dec6At1000 = 1796551200;     // 2026-12-06 10:00:00 UTC
constexpr std::int64_t Nov30At162005 = 1796055605;  // 2026-11-30 16:20:05 UTC
constexpr std::int64_t Dec5Midnight = 1796428800;   // 2026-12-05 00:00:00 UTC

using SnapshotOnWindows = WindowsEngineFixture;

// One folder a level, so that the file system's order within a folder can't matter.
// The log is in the ANSI code page: è is its byte E8, € its 80, and Ω, which it can't
// hold, is "?"; the list keeps the names as they are.
TEST_F(SnapshotOnWindows, WritesTwoWholeEntriesByteForByteInTheAnsiCodePage) {
    makeFile("notes.txt", 1536, Dec6At1000);
    makeFile("~lock.tmp", 10, Dec6At1000);
    makeFile("Archive\\old.zip", 2097152, Nov30At162005);
    makeFile("Archive\\Hidden\\secret.txt", 0, Dec5Midnight, FILE_ATTRIBUTE_HIDDEN);
    makeFile("Archive\\Hidden\\Syst\xc3\xa8me\\\xce\xa9mega \xe2\x82\xac.txt", 1023, Dec6At1000,
             FILE_ATTRIBUTE_SYSTEM);

    engine::LogFilesNow(folder(), logPath, rows, tools);
    clock.currentTime += std::chrono::seconds(3600 + 42);
    engine::LogFilesNow(Utf8(tree.path()), logPath, rows, tools);  // a backslash is added

    const std::string top = Utf8(tree.path());
    ASSERT_EQ(top.substr(1, 2), ":\\");
    const std::string entry = "File|Size|Date Modified\r\n" + top +
                              "\\notes.txt|1.5 KB|12/6/2026 10:00:00 AM\r\n" + top +
                              "\\Archive\\old.zip|2 MB|11/30/2026 4:20:05 PM\r\n" + top +
                              "\\Archive\\Hidden\\secret.txt|0 Bytes|12/5/2026\r\n" + top +
                              "\\Archive\\Hidden\\Syst\xe8me\\?mega \x80.txt|1023 Bytes|"
                              "12/6/2026 10:00:00 AM\r\n";
    EXPECT_EQ(ReadWholeFile(temporary.path() / "Kestrava.txt"),
              "[12/7/2026 3:17:16 AM]\r\n" + entry + "[12/7/2026 4:17:58 AM]\r\n" + entry);
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(rows.rowCount(), 12u);
    EXPECT_EQ(rows.text(4, 0),
              top + "\\Archive\\Hidden\\Syst\xc3\xa8me\\\xce\xa9mega \xe2\x82\xac.txt");
    EXPECT_EQ(rows.text(4, 1), "1023 Bytes");
    EXPECT_EQ(rows.text(3, 2), "12/5/2026");
}

// A folder's name the code page can't hold is walked too; its path is written with "?"
// in the log and kept as it is in the list.
TEST_F(SnapshotOnWindows, FilesBelowAFolderOfAnyNameAreLogged) {
    makeFile("Bob\xe2\x80\x99s Files\\\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\\a.txt", 5,
             Dec6At1000);

    engine::LogFilesNow(folder(), logPath, rows, tools);

    const std::string top = Utf8(tree.path());
    EXPECT_EQ(ReadWholeFile(temporary.path() / "Kestrava.txt"),
              "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n" + top +
                  "\\Bob\x92s Files\\??????\\a.txt|5 Bytes|12/6/2026 10:00:00 AM\r\n");
    ASSERT_EQ(rows.rowCount(), 3u);
    EXPECT_EQ(
        rows.text(1, 0),
        top + "\\Bob\xe2\x80\x99s Files\\\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\\a.txt");
}

TEST_F(SnapshotOnWindows, AMissingFolderChangesNothing) {
    engine::LogFilesNow(folder("missing"), logPath, rows, tools);
    engine::LogFilesNow("C:\\no such folder\\", logPath, rows, tools);
    EXPECT_FALSE(std::filesystem::exists(temporary.path() / "Kestrava.txt"));
    EXPECT_EQ(rows.rowCount(), 0u);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SnapshotOnWindows, AFolderOfTheSystemsKeepsItsFilesOutOfTheLog) {
    makeFile("seen.txt", 1);
    makeFile("Recycled\\unseen.txt", 1);
    makeFolder("Recycled", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    engine::LogFilesNow(folder(), logPath, rows, tools);

    EXPECT_EQ(ReadWholeFile(temporary.path() / "Kestrava.txt"),
              "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n" + Utf8(tree.path()) +
                  "\\seen.txt|1 Bytes|12/7/2026 3:17:16 AM\r\n");
}

}  // namespace
}  // namespace kestrava::testing
