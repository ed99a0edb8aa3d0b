#include "core/Main.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "fakes/FakeEnvironment.h"
#include "fakes/FakeEventPump.h"
#include "platform/RuntimeError.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TemporaryFolder.h"

namespace kestrava::core {
namespace {

TEST(FormatCountdown, WritesTheTimeOfDayThatManySecondsAfterMidnight) {
    EXPECT_EQ(FormatCountdown(0), "00:00:00");
    EXPECT_EQ(FormatCountdown(59), "00:00:59");
    EXPECT_EQ(FormatCountdown(3599), "00:59:59");
    EXPECT_EQ(FormatCountdown(3600), "01:00:00");
    EXPECT_EQ(FormatCountdown(86399), "23:59:59");
}

TEST(FormatCountdown, WrapsWholeDaysAndWritesANegativeCountAsItsMagnitude) {
    EXPECT_EQ(FormatCountdown(86400), "00:00:00");
    EXPECT_EQ(FormatCountdown(90061), "01:01:01");
    EXPECT_EQ(FormatCountdown(-1), "00:00:01");
    EXPECT_EQ(FormatCountdown(-3661), "01:01:01");
    EXPECT_EQ(FormatCountdown(INT32_MIN), "03:14:08");
}

TEST(DesktopFolderPath, EndsTheDesktopFolderWithASeparator) {
    fakes::FakeEnvironment environment;
    environment.desktopFolderPath = "/home/ann/Desktop";
    EXPECT_EQ(DesktopFolderPath(environment), "/home/ann/Desktop/");
}

TEST(DesktopFolderPath, FailsWhenTheDesktopCantBeNamed) {
    fakes::FakeEnvironment environment;
    environment.desktopFolderPath.clear();
    try {
        DesktopFolderPath(environment);
        FAIL() << "expected a failure";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.number(), platform::error_number::InvalidProcedureCall);
    }
}

class FileHelpers : public ::testing::Test {
protected:
    testing::TemporaryFolder folder;
    platform::PosixFileSystem fileSystem;
    fakes::FakeEventPump events;
};

TEST_F(FileHelpers, FileExistsForFilesAndFoldersOnly) {
    const auto file = folder.writeFile("notes.txt", "x");
    EXPECT_TRUE(FileExists(fileSystem, file.string()));
    EXPECT_TRUE(FileExists(fileSystem, folder.string()));
    EXPECT_FALSE(FileExists(fileSystem, (folder.path() / "missing.txt").string()));
    EXPECT_FALSE(FileExists(fileSystem, ""));
}

TEST_F(FileHelpers, RemoveFileLetsEventsRunFirstThenDeletesTheFile) {
    const auto file = folder.writeFile("Kestrava.txt", "history");
    bool existedAtPump = false;
    events.onPump = [&] { existedAtPump = std::filesystem::exists(file); };

    RemoveFile(fileSystem, events, file.string());

    EXPECT_TRUE(existedAtPump);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(FileHelpers, RemoveFileOfAMissingFileDoesNothing) {
    EXPECT_NO_THROW(RemoveFile(fileSystem, events, (folder.path() / "missing.txt").string()));
    EXPECT_EQ(events.pumps, 1);
}

TEST_F(FileHelpers, RemoveFileTakesWildcardCharactersLiterally) {
    const auto starred = folder.writeFile("log*.txt");
    const auto neighbour = folder.writeFile("log1.txt");
    const auto questioned = folder.writeFile("a?c");
    const auto another = folder.writeFile("abc");

    RemoveFile(fileSystem, events, starred.string());
    RemoveFile(fileSystem, events, (folder.path() / "log?.txt").string());
    RemoveFile(fileSystem, events, questioned.string());

    EXPECT_FALSE(std::filesystem::exists(starred));
    EXPECT_FALSE(std::filesystem::exists(questioned));
    EXPECT_TRUE(std::filesystem::exists(neighbour));
    EXPECT_TRUE(std::filesystem::exists(another));
}

// An installation's layout in a temporary folder: the program in bin/, its data in
// share/kestrava/.
class ProgramDataFileTest : public ::testing::Test {
protected:
    ProgramDataFileTest() { environment.programFolderPath = (prefix.path() / "bin").string(); }

    std::string find(const std::string& relativePath) const {
        return ProgramDataFile(fileSystem, environment, relativePath);
    }

    testing::TemporaryFolder prefix;
    platform::PosixFileSystem fileSystem;
    fakes::FakeEnvironment environment;
};

TEST_F(ProgramDataFileTest, AFileBesideTheProgramComesBeforeTheInstalledOne) {
    const auto beside = prefix.writeFile("bin/HAND-M.CUR");
    prefix.writeFile("share/kestrava/HAND-M.CUR");
    EXPECT_EQ(find("HAND-M.CUR"), beside.string());
}

TEST_F(ProgramDataFileTest, AnInstalledFileIsFoundInTheDataFolderBesideTheProgramsFolder) {
    prefix.writeFile("share/kestrava/HAND-M.CUR");
    prefix.writeFile("share/kestrava/x/o.cjs");
    // A folder of the file's name beside the program doesn't hide the installed file.
    std::filesystem::create_directories(prefix.path() / "bin/x/o.cjs");

    // The path is written without "..", as it would be shown in a report.
    EXPECT_EQ(find("HAND-M.CUR"), prefix.string() + "/share/kestrava/HAND-M.CUR");
    EXPECT_EQ(find("x/o.cjs"), prefix.string() + "/share/kestrava/x/o.cjs");

    environment.programFolderPath += "/";
    EXPECT_EQ(find("HAND-M.CUR"), prefix.string() + "/share/kestrava/HAND-M.CUR");
}

TEST_F(ProgramDataFileTest, AMissingFileIsNamedBesideTheProgram) {
    std::filesystem::create_directories(prefix.path() / "share/kestrava");
    prefix.writeFile("share/HAND-M.CUR");
    EXPECT_EQ(find("HAND-M.CUR"), prefix.string() + "/bin/HAND-M.CUR");

    environment.programFolderPath = "/";
    EXPECT_EQ(find("no-such-file.cur"), "/no-such-file.cur");
}

}  // namespace
}  // namespace kestrava::core
