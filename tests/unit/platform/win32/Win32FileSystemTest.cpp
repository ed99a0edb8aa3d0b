#include "platform/win32/Win32FileSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/RuntimeError.h"
#include "support/TemporaryFolder.h"
#include "support/win32/WindowsTestSupport.h"

namespace kestrava::platform {
namespace {

namespace fs = std::filesystem;
using testing::Utf8;

constexpr std::int64_t Dec6At1000 = 1796551200;  // 2026-12-06 10:00:00 UTC

class Win32FileSystemTest : public ::testing::Test {
protected:
    std::map<std::string, EntryInfo> list(const fs::path& path) const {
        std::map<std::string, EntryInfo> entries;
        const auto listing = fileSystem.listFolder(Utf8(path));
        FolderEntry entry;
        while (listing->next(entry)) {
            entries[std::string(entry.name)] = entry.info;
        }
        return entries;
    }

    int failureOf(const std::function<void()>& action) const {
        try {
            action();
        } catch (const RuntimeError& error) {
            return error.number();
        }
        return 0;
    }

    testing::TemporaryFolder folder;
    Win32FileSystem fileSystem;
};

TEST_F(Win32FileSystemTest, ListsEachEntryWithItsRealAttributesSizeAndTime) {
    testing::SetModified(folder.writeFile("plain.txt", "12345"), Dec6At1000);
    const auto hidden = folder.writeFile("hidden.txt", "1");
    const auto system = folder.writeFile("system.txt", "22");
    testing::SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    testing::SetAttributes(system, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    fs::create_directories(folder.path() / "Recycled");
    fs::create_directories(folder.path() / "Private");
    fs::create_directories(folder.path() / "Plain folder");
    testing::SetAttributes(folder.path() / "Recycled", FILE_ATTRIBUTE_HIDDEN |
                                                           FILE_ATTRIBUTE_SYSTEM |
                                                           FILE_ATTRIBUTE_DIRECTORY);
    testing::SetAttributes(folder.path() / "Private",
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);

    const auto entries = list(folder.path());

    ASSERT_EQ(entries.size(), 6u);  // no "." or ".."
    const EntryInfo& plain = entries.at("plain.txt");
    EXPECT_EQ(plain.kind, EntryKind::File);
    EXPECT_EQ(plain.size, 5u);
    EXPECT_EQ(plain.modifiedSeconds, Dec6At1000);
    EXPECT_EQ(plain.attributes & (attribute::Hidden | attribute::System), 0u);
    EXPECT_EQ(entries.at("hidden.txt").attributes & (attribute::Hidden | attribute::System),
              attribute::Hidden);
    EXPECT_EQ(entries.at("system.txt").attributes & (attribute::Hidden | attribute::System),
              attribute::Hidden | attribute::System);
    EXPECT_EQ(entries.at("system.txt").kind, EntryKind::File);
    EXPECT_EQ(entries.at("system.txt").size, 2u);
    EXPECT_EQ(entries.at("Recycled").attributes, 22u);
    EXPECT_EQ(entries.at("Recycled").kind, EntryKind::Folder);
    EXPECT_EQ(entries.at("Private").attributes, 18u);
    EXPECT_EQ(entries.at("Plain folder").attributes, attribute::Directory);
}

TEST_F(Win32FileSystemTest, ListsLargeFoldersWholeAndNamesOutsideTheCodePageAsTheyAre) {
    for (int file = 0; file < 600; ++file) {
        folder.writeFile("file " + std::to_string(file) + ".txt");
    }
    const std::string greek = "\xce\xa9mega \xe6\x97\xa5.txt";  // Ωmega 日.txt
    std::ofstream(folder.path() / testing::PathOfUtf8(greek)) << "x";

    const auto entries = list(folder.path());

    EXPECT_EQ(entries.size(), 601u);
    ASSERT_TRUE(entries.contains(greek));
    EXPECT_EQ(entries.at(greek).size, 1u);
    EXPECT_EQ(fileSystem.pathInfo(Utf8(folder.path()) + "\\" + greek).size, 1u);
}

// An open that asks for no access is not refused by another handle's sharing: share
// modes guard reading, writing and deleting only. A file held open without sharing is
// therefore still a file.
TEST_F(Win32FileSystemTest, AFileHeldOpenWithoutSharingIsStillAFile) {
    const auto file = folder.writeFile("held.txt", "abc");
    const HANDLE held = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    EXPECT_EQ(list(folder.path()).at("held.txt").kind, EntryKind::File);
    EXPECT_EQ(fileSystem.pathInfo(Utf8(file)).kind, EntryKind::File);
    ::CloseHandle(held);
}

TEST_F(Win32FileSystemTest, LooksPathsUpWithTheirKindAndTellsMissingFilesFromMissingFolders) {
    const auto file = folder.writeFile("notes.txt", "1536");
    testing::SetModified(file, Dec6At1000);
    const EntryInfo info = fileSystem.pathInfo(Utf8(file));
    EXPECT_EQ(info.kind, EntryKind::File);
    EXPECT_EQ(info.size, 4u);
    EXPECT_EQ(info.modifiedSeconds, Dec6At1000);
    EXPECT_EQ(fileSystem.pathInfo(Utf8(folder.path())).kind, EntryKind::Folder);
    EXPECT_EQ(fileSystem.pathInfo(Utf8(folder.path()) + "\\").kind, EntryKind::Folder);

    const std::string missing = Utf8(folder.path() / "missing");
    EXPECT_EQ(failureOf([&] { fileSystem.pathInfo(missing); }), error_number::FileNotFound);
    EXPECT_EQ(failureOf([&] { fileSystem.pathInfo(missing + "\\inner.txt"); }),
              error_number::PathNotFound);
    EXPECT_EQ(failureOf([&] { fileSystem.pathInfo(""); }), error_number::PathNotFound);
    EXPECT_EQ(failureOf([&] { fileSystem.listFolder(missing); }), error_number::PathNotFound);
    EXPECT_EQ(failureOf([&] { fileSystem.listFolder(""); }), error_number::PathNotFound);
    EXPECT_NE(failureOf([&] { fileSystem.listFolder(Utf8(file)); }), 0);
}

TEST_F(Win32FileSystemTest, ListsAnEmptyFolderAsEmptyAndTimesBefore1970BelowZero) {
    fs::create_directories(folder.path() / "empty");
    EXPECT_TRUE(list(folder.path() / "empty").empty());

    const auto old = folder.writeFile("old.txt");
    testing::SetModified(old, -86400 - 1);  // 1969-12-30 23:59:59
    EXPECT_EQ(fileSystem.pathInfo(Utf8(old)).modifiedSeconds, -86400 - 1);
}

TEST_F(Win32FileSystemTest, AppendsExactlyTheBytesGivenCreatingTheFileOnce) {
    const std::string log = Utf8(folder.path() / "Kestrava.txt");
    fileSystem.openForAppending(log)->append("[line one]\r\n");
    fileSystem.openForAppending(log)->append(std::string("\xe9\0\x7f|\r\n", 6));
    EXPECT_EQ(testing::ReadWholeFile(folder.path() / "Kestrava.txt"),
              std::string("[line one]\r\n\xe9\0\x7f|\r\n", 18));

    std::string read;
    fileSystem.readFile(log, [&](std::string_view chunk) { read += chunk; });
    EXPECT_EQ(read.size(), 18u);
}

// The lock covers a byte far beyond the end, so that it keeps other writers out while
// readers (a copy of the history, an editor) still read the whole file. A file
// deleted meanwhile ("Clear History Log") leaves the name to a new one.
TEST_F(Win32FileSystemTest, OneWriterAtATimeHoldsTheFileWhileReadersReadIt) {
    const std::string log = Utf8(folder.path() / "Kestrava.txt");
    auto first = fileSystem.openForAppending(log);
    ASSERT_NE(first, nullptr);
    first->append("held\r\n");
    EXPECT_EQ(fileSystem.openForAppending(log), nullptr);
    std::string read;
    fileSystem.readFile(log, [&](std::string_view chunk) { read += chunk; });
    EXPECT_EQ(read, "held\r\n");

    fileSystem.removeFile(log);
    first.reset();
    const auto second = fileSystem.openForAppending(log);
    ASSERT_NE(second, nullptr);
    second->append("new\r\n");
    EXPECT_EQ(testing::ReadWholeFile(folder.path() / "Kestrava.txt"), "new\r\n");
}

// The log is cut while its writers' lock holds it open; a cut stopped between moving the
// old log aside and moving the new one in left the old one aside.
TEST_F(Win32FileSystemTest, ReplacesAFileItsWriterHoldsOpenLeavingNothingBeside) {
    const std::string log = Utf8(folder.path() / "Kestrava.txt");
    fileSystem.openForAppending(log)->append("old\r\n");
    folder.writeFile("Kestrava.txt.replaced", "left by a stopped replace");
    const std::string cut = Utf8(folder.path() / "Kestrava.txt.1.new");
    fileSystem.createFile(cut)->write("cut\r\n");
    auto held = fileSystem.openForAppending(log);
    ASSERT_NE(held, nullptr);

    fileSystem.replaceFile(cut, log);
    held.reset();

    EXPECT_EQ(testing::ReadWholeFile(folder.path() / "Kestrava.txt"), "cut\r\n");
    const auto left = list(folder.path());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.begin()->first, "Kestrava.txt");
}

TEST_F(Win32FileSystemTest, NeverAppendsToAFolderOrWhereNoFolderIs) {
    fs::create_directories(folder.path() / "Kestrava.txt");
    EXPECT_EQ(failureOf([&] {
                  fileSystem.openForAppending(Utf8(folder.path() / "Kestrava.txt"))->append("x");
              }),
              error_number::PermissionDenied);
    EXPECT_EQ(failureOf([&] {
                  fileSystem.openForAppending(Utf8(folder.path() / "missing" / "Kestrava.txt"))
                      ->append("x");
              }),
              error_number::PathNotFound);
    EXPECT_EQ(failureOf([&] { fileSystem.openForAppending("")->append("x"); }),
              error_number::PathNotFound);
}

TEST_F(Win32FileSystemTest, RemovesExactlyTheNamedFileReadOnlyOrNot) {
    const auto readOnly = folder.writeFile("read-only.txt");
    testing::SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    const auto neighbour = folder.writeFile("log1.txt");

    fileSystem.removeFile(Utf8(readOnly));
    EXPECT_FALSE(fs::exists(readOnly));

    // A wildcard is no pattern here but a character no file name holds.
    EXPECT_EQ(failureOf([&] { fileSystem.removeFile(Utf8(folder.path()) + "\\log?.txt"); }),
              error_number::BadFileName);
    EXPECT_EQ(failureOf([&] { fileSystem.removeFile(Utf8(folder.path()) + "\\*.txt"); }),
              error_number::BadFileName);
    EXPECT_TRUE(fs::exists(neighbour));
    EXPECT_EQ(failureOf([&] { fileSystem.removeFile(Utf8(readOnly)); }),
              error_number::FileNotFound);
    EXPECT_EQ(failureOf([&] { fileSystem.removeFile(Utf8(folder.path())); }),
              error_number::PermissionDenied);
}

// The history log is read at any offset while the window may go on appending to it.
TEST_F(Win32FileSystemTest, ReadsAFileAtAnyOffsetAsLargeAsItWasWhenOpened) {
    const auto log = folder.writeFile("log.txt", "0123456789");
    const auto file = fileSystem.openForReading(Utf8(log));
    fileSystem.openForAppending(Utf8(log))->append("appended");

    std::string buffer(8, '.');
    EXPECT_EQ(file->size(), 10u);
    EXPECT_EQ(file->readAt(6, buffer), 8u);
    EXPECT_EQ(buffer, "6789appe");
    EXPECT_EQ(file->readAt(1u << 31, buffer), 0u);
    // Read, the log can still be cleared.
    fileSystem.removeFile(Utf8(log));
}

TEST_F(Win32FileSystemTest, ReadsNothingButAFile) {
    EXPECT_NE(failureOf([&] { fileSystem.openForReading(Utf8(folder.path())); }), 0);
    EXPECT_EQ(failureOf([&] { fileSystem.openForReading("NUL"); }),
              error_number::PathFileAccessError);
    EXPECT_EQ(failureOf([&] { fileSystem.openForReading(Utf8(folder.path() / "missing")); }),
              error_number::FileNotFound);
}

TEST_F(Win32FileSystemTest, MakesAPathAbsoluteAsTheSystemDoes) {
    const std::string current = Utf8(fs::current_path());
    EXPECT_EQ(fileSystem.absolutePath("a\\.\\b\\..\\c"), current + "\\a\\c");
    EXPECT_EQ(fileSystem.absolutePath("a/b"), current + "\\a\\b");
    EXPECT_EQ(fileSystem.absolutePath("C:\\x\\..\\y"), "C:\\x\\..\\y");
    EXPECT_EQ(fileSystem.absolutePath("\\\\server\\share"), "\\\\server\\share");
}

}  // namespace
}  // namespace kestrava::platform
