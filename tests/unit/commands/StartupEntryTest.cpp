#include "commands/StartupEntry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "fakes/FakeEnvironment.h"
#include "platform/posix/XdgAutostartRegistry.h"
#include "support/TemporaryFolder.h"

namespace kestrava::commands {
namespace {

namespace fs = std::filesystem;
using platform::StartupScope;
using testing::ReadWholeFile;

// The real autostart files, with both configuration folders inside a temporary one.
class StartupEntry : public ::testing::Test {
protected:
    StartupEntry() {
        environment.variables["XDG_CONFIG_DIRS"] = (root.path() / "etc-xdg").string() + ":/etc/xdg";
        environment.variables["XDG_CONFIG_HOME"] = (root.path() / "home-config").string();
        environment.variables["HOME"] = (root.path() / "home").string();
        environment.programFolderPath = "/opt/kestrava";
        environment.executable = "kestrava";
    }

    fs::path allUsersEntry() const { return root.path() / "etc-xdg/autostart/kestrava.desktop"; }
    fs::path userEntry() const { return root.path() / "home-config/autostart/kestrava.desktop"; }

    // A folder below a regular file can't be created, whoever asks.
    void refuse(const char* variable) {
        const auto blocker = root.writeFile(std::string("blocker-") + variable);
        environment.variables[variable] = (blocker / "xdg").string();
    }

    static std::string Entry(const std::string& exec) {
        return "[Desktop Entry]\nType=Application\nName=Kestrava\nExec=" + exec +
               "\nIcon=kestrava\nTerminal=false\n";
    }

    testing::TemporaryFolder root;
    fakes::FakeEnvironment environment;
    platform::XdgAutostartRegistry registry{environment, "Kestrava", "kestrava"};
};

TEST_F(StartupEntry, IsWrittenForAllUsersUnderTheExecutablesName) {
    const auto result = AddStartupEntry(registry, environment);

    EXPECT_EQ(result.writtenFor, StartupScope::AllUsers);
    EXPECT_FALSE(result.failure);
    EXPECT_EQ(ReadWholeFile(allUsersEntry()), Entry("/opt/kestrava/kestrava"));
    EXPECT_FALSE(fs::exists(userEntry()));
    struct stat info {};
    ASSERT_EQ(::stat(allUsersEntry().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u) << "every user's session must read it";
    EXPECT_EQ(std::distance(fs::directory_iterator(allUsersEntry().parent_path()), {}), 1)
        << "no temporary file is left beside it";
}

TEST_F(StartupEntry, AnEarlierEntryIsReplaced) {
    root.writeFile("etc-xdg/autostart/kestrava.desktop", "[Desktop Entry]\nExec=/old/kestrava\n");
    AddStartupEntry(registry, environment);
    EXPECT_EQ(ReadWholeFile(allUsersEntry()), Entry("/opt/kestrava/kestrava"));
}

// Under the XDG rules the current user's entry of a name wins over the one for all
// users: an old one (another path, or a desktop's Hidden=true copy) would keep the
// program from starting while the option shows set.
TEST_F(StartupEntry, AnOlderEntryForTheCurrentUserGoesOnceAllUsersHaveOne) {
    root.writeFile("home-config/autostart/kestrava.desktop",
                   "[Desktop Entry]\nExec=/old/kestrava\nHidden=true\n");

    const auto result = AddStartupEntry(registry, environment);

    EXPECT_EQ(result.writtenFor, StartupScope::AllUsers);
    EXPECT_EQ(ReadWholeFile(allUsersEntry()), Entry("/opt/kestrava/kestrava"));
    EXPECT_FALSE(fs::exists(userEntry()));
}

TEST_F(StartupEntry, AnOlderEntryForTheCurrentUserThatCantGoIsMadeTheSame) {
    fs::create_directories(userEntry());  // a folder in its place, which unlink refuses
    const auto result = AddStartupEntry(registry, environment);
    EXPECT_FALSE(result.written()) << "the user's folder can't hold an entry that matches";
    ASSERT_TRUE(result.failure);
}

TEST_F(StartupEntry, ExecQuotesAndEscapesThePathAsDesktopEntriesRequire) {
    struct Case {
        std::string path;
        std::string exec;
    };
    for (const Case& c : {
             Case{"/opt/kestrava/kestrava", "/opt/kestrava/kestrava"},
             Case{"/home/ann/My Programs/kestrava", "\"/home/ann/My Programs/kestrava\""},
             Case{"/opt/a\"b$c`d/kestrava", "\"/opt/a\\\\\"b\\\\$c\\\\`d/kestrava\""},
             Case{"/opt/back\\slash/kestrava", "\"/opt/back\\\\\\\\slash/kestrava\""},
             Case{"/opt/100%/kestrava", "/opt/100%%/kestrava"},
             Case{"/opt/new\nline/kestrava", "\"/opt/new\\nline/kestrava\""},
         }) {
        EXPECT_EQ(registry.entryText(c.path), Entry(c.exec)) << c.path;
    }
}

TEST_F(StartupEntry, AProgramInTheRootFolderHasOneSeparator) {
    environment.programFolderPath = "/";
    AddStartupEntry(registry, environment);
    EXPECT_EQ(ReadWholeFile(allUsersEntry()), Entry("/kestrava"));
}

TEST_F(StartupEntry, WhenAllUsersAreRefusedTheCurrentUsersEntryIsWritten) {
    refuse("XDG_CONFIG_DIRS");

    const auto result = AddStartupEntry(registry, environment);

    EXPECT_EQ(result.writtenFor, StartupScope::CurrentUser);
    EXPECT_EQ(ReadWholeFile(userEntry()), Entry("/opt/kestrava/kestrava"));
}

TEST_F(StartupEntry, WhenBothAreRefusedTheCallerLearnsIt) {
    refuse("XDG_CONFIG_DIRS");
    refuse("XDG_CONFIG_HOME");

    const auto result = AddStartupEntry(registry, environment);

    EXPECT_FALSE(result.written());
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->number(), platform::error_number::PathNotFound);
}

TEST_F(StartupEntry, RemovingDeletesBothEntriesAndMissingOnesAreNoFailure) {
    root.writeFile("etc-xdg/autostart/kestrava.desktop", "x");
    root.writeFile("home-config/autostart/kestrava.desktop", "x");
    root.writeFile("home-config/autostart/other.desktop", "x");

    EXPECT_FALSE(RemoveStartupEntry(registry, environment));
    EXPECT_FALSE(fs::exists(allUsersEntry()));
    EXPECT_FALSE(fs::exists(userEntry()));
    EXPECT_TRUE(fs::exists(root.path() / "home-config/autostart/other.desktop"));

    EXPECT_FALSE(RemoveStartupEntry(registry, environment));
    refuse("XDG_CONFIG_DIRS");
    EXPECT_FALSE(RemoveStartupEntry(registry, environment));
}

TEST_F(StartupEntry, AnEntryThatCantBeDeletedIsReportedAndTheOtherStillGoes) {
    fs::create_directories(allUsersEntry());  // a folder, which unlink refuses even to root
    root.writeFile("home-config/autostart/kestrava.desktop", "x");

    const auto failure = RemoveStartupEntry(registry, environment);

    EXPECT_TRUE(failure);
    EXPECT_FALSE(fs::exists(userEntry()));
}

TEST_F(StartupEntry, FoldersFollowTheBaseDirectoryRules) {
    fakes::FakeEnvironment bare;
    bare.variables["HOME"] = "/home/ann";
    platform::XdgAutostartRegistry defaults(bare, "Kestrava", "kestrava");
    EXPECT_EQ(defaults.autostartFolder(StartupScope::AllUsers), "/etc/xdg/autostart");
    EXPECT_EQ(defaults.autostartFolder(StartupScope::CurrentUser), "/home/ann/.config/autostart");

    // Relative folders are invalid there and are passed over.
    bare.variables["XDG_CONFIG_DIRS"] = "relative:/usr/local/etc/xdg/:/etc/xdg";
    bare.variables["XDG_CONFIG_HOME"] = "relative";
    EXPECT_EQ(defaults.autostartFolder(StartupScope::AllUsers), "/usr/local/etc/xdg/autostart");
    EXPECT_EQ(defaults.autostartFolder(StartupScope::CurrentUser), "/home/ann/.config/autostart");

    bare.variables.erase("HOME");
    EXPECT_THROW(defaults.autostartFolder(StartupScope::CurrentUser), platform::RuntimeError);
}

}  // namespace
}  // namespace kestrava::commands
