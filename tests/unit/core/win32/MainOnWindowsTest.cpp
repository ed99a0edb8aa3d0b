#include "core/Main.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "fakes/FakeEnvironment.h"
#include "platform/win32/Win32FileSystem.h"
#include "support/TemporaryFolder.h"
#include "support/win32/WindowsTestSupport.h"

namespace kestrava::core {
namespace {

using testing::Utf8;

class MainOnWindows : public ::testing::Test {
protected:
    testing::TemporaryFolder folder;
    platform::Win32FileSystem fileSystem;
};

TEST_F(MainOnWindows, FileExistsForFilesAndFoldersOnly) {
    const auto file = folder.writeFile("notes.txt", "x");
    EXPECT_TRUE(FileExists(fileSystem, Utf8(file)));
    EXPECT_TRUE(FileExists(fileSystem, Utf8(folder.path())));
    EXPECT_TRUE(FileExists(fileSystem, "C:\\"));
    EXPECT_FALSE(FileExists(fileSystem, Utf8(folder.path() / "missing.txt")));
    EXPECT_FALSE(FileExists(fileSystem, ""));
    EXPECT_FALSE(FileExists(fileSystem, "Q:\\nowhere"));
}

TEST_F(MainOnWindows, ProgramDataFilesAreFoundBesideTheProgramOrInItsShareFolder) {
    fakes::FakeEnvironment environment;
    environment.programFolderPath = Utf8(folder.path() / "bin");
    folder.writeFile("share/kestrava/HAND-M.CUR");
    folder.writeFile("bin/x/o.cjs");
    EXPECT_EQ(ProgramDataFile(fileSystem, environment, "HAND-M.CUR"),
              Utf8(folder.path()) + "\\share\\kestrava\\HAND-M.CUR");
    EXPECT_EQ(ProgramDataFile(fileSystem, environment, "x\\o.cjs"),
              Utf8(folder.path()) + "\\bin\\x\\o.cjs");
    EXPECT_EQ(ProgramDataFile(fileSystem, environment, "missing.cur"),
              Utf8(folder.path()) + "\\bin\\missing.cur");
}

}  // namespace
}  // namespace kestrava::core
