#include "platform/win32/Win32Shell.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "platform/RuntimeError.h"
#include "support/TemporaryFolder.h"
#include "support/win32/WindowsTestSupport.h"

namespace kestrava::platform {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The command line, then the arguments, as the started stand-in wrote them down.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

class Win32ShellTest : public ::testing::Test {
protected:
    Win32ShellTest() { ::SetEnvironmentVariableW(L"KESTRAVA_ARGUMENT_ECHO", echoFile.c_str()); }
    ~Win32ShellTest() override { ::SetEnvironmentVariableW(L"KESTRAVA_ARGUMENT_ECHO", nullptr); }

    std::vector<std::string> echoed() const {
        EXPECT_TRUE(testing::WaitUntil([&] { return fs::exists(echoFile); }, 20s));
        return LinesOf(testing::ReadWholeFile(echoFile));
    }

    testing::TemporaryFolder folder;
    fs::path echoFile = folder.path() / "echo.txt";
    std::string echo = testing::Utf8(testing::TestProgramFolder() / "argument-echo.exe");
    Win32Shell shell{echo, echo};
};

TEST_F(Win32ShellTest, HandsEveryArgumentOverWhole) {
    const std::vector<std::string> arguments{"plain",
                                             "two words",
                                             "",
                                             "quote\"inside",
                                             "C:\\trailing\\",
                                             "back\\\\\"slashes",
                                             "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5"};
    shell.startDetached(echo, arguments);
    const auto lines = echoed();
    ASSERT_EQ(lines.size(), arguments.size() + 1);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), arguments);
}

// notepad takes the rest of its command line as one path: it must come in quotes.
TEST_F(Win32ShellTest, ViewsATextFileWithItsPathQuotedAsOneArgument) {
    const std::string log = "C:\\users\\ann\\Temp\\My Log\\Kestrava.txt";
    bool lateFailure = false;
    shell.viewTextFile(log, [&](const RuntimeError&) { lateFailure = true; });
    const auto lines = echoed();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with(" \"" + log + "\"")) << lines[0];
    EXPECT_EQ(lines[1], log);
    EXPECT_FALSE(lateFailure);
}

TEST_F(Win32ShellTest, OpensAnAddressWithTheBrowserAndFailsAtOnceWhenNothingStarts) {
    shell.openAddress("https://www.velquist.com/contact/");
    EXPECT_EQ(echoed().back(), "https://www.velquist.com/contact/");

    try {
        shell.startDetached(testing::Utf8(folder.path() / "missing.exe"), {});
        FAIL() << "expected a failure";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), error_number::FileNotFound);
    }
    Win32Shell missingViewer(testing::Utf8(folder.path() / "no-viewer.exe"));
    EXPECT_THROW(missingViewer.viewTextFile("C:\\x.txt", [](const RuntimeError&) {}), RuntimeError);
}

}  // namespace
}  // namespace kestrava::platform
