#include "platform/win32/Win32Environment.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "core/Main.h"
#include "support/win32/WindowsTestSupport.h"

namespace kestrava::platform {
namespace {

namespace fs = std::filesystem;

TEST(Win32Environment, ReadsVariablesAndCountsAnEmptyOneAsUnset) {
    Win32Environment environment;
    ::SetEnvironmentVariableW(L"KESTRAVA_TEST_VALUE", L"C:\\Bl\x00e4tter");
    ::SetEnvironmentVariableW(L"KESTRAVA_TEST_EMPTY", L"");
    ::SetEnvironmentVariableW(L"KESTRAVA_TEST_LONG", std::wstring(1000, L'x').c_str());
    EXPECT_EQ(environment.variable("KESTRAVA_TEST_VALUE"), "C:\\Bl\xc3\xa4tter");
    EXPECT_EQ(environment.variable("KESTRAVA_TEST_EMPTY"), std::nullopt);
    EXPECT_EQ(environment.variable("KESTRAVA_TEST_UNSET"), std::nullopt);
    EXPECT_EQ(environment.variable("KESTRAVA_TEST_LONG"), std::string(1000, 'x'));
}

TEST(Win32Environment, NamesTheProgramsFolderAndItsOwnFileName) {
    Win32Environment environment;
    EXPECT_EQ(environment.programFolder(), testing::Utf8(testing::TestProgramFolder()));
    EXPECT_EQ(environment.executableName(), "kestrava_windows_tests.exe");
    EXPECT_NE(environment.programFolder().back(), '\\');
}

// Through the shell's special folder: a folder that is there, without a backslash at
// its end, which the shared helper then adds.
TEST(Win32Environment, NamesTheDesktopFolder) {
    Win32Environment environment;
    const std::string desktop = environment.desktopFolder();
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(desktop.substr(1, 2), ":\\");
    EXPECT_NE(desktop.back(), '\\');
    EXPECT_EQ(core::DesktopFolderPath(environment), desktop + "\\");
}

TEST(Win32Environment, KeepsItsFilesInTheUsersTemporaryFolder) {
    Win32Environment environment;
    wchar_t temporary[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temporary);
    const std::string folder = environment.stateFolder("kestrava");
    EXPECT_EQ(folder + "\\", testing::Utf8(temporary));
    EXPECT_TRUE(fs::is_directory(testing::PathOfUtf8(folder)));
}

}  // namespace
}  // namespace kestrava::platform
