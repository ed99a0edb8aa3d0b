#include <gtest/gtest.h>

#include <sstream>

#include "cli/Dispatch.h"
#include "platform/win32/Win32Locale.h"
#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

// The Windows log is in the ANSI code page (here the western 1252): è is its byte E8, and
// Ω, which the page can't hold, is "?". Text keeps those bytes; JSON is UTF-8.
class AnsiLog : public CliFixture {
protected:
    Answer runInAnsi(const std::vector<std::string>& arguments) {
        std::ostringstream out;
        std::ostringstream err;
        const int status =
            cli::Dispatch(arguments, {native.fileSystem(), environment, clock, ansi}, out, err);
        return {status, out.str(), err.str()};
    }

    platform::Win32Locale ansi{"en-US", 1252};
    engine::SnapshotTools ansiTools{native.fileSystem(), events, clock, ansi, dialogs};
};

TEST_F(AnsiLog, TextKeepsTheCodePagesBytesAndJsonIsUtf8) {
    makeFile("Syst\xc3\xa8me.txt", 1);
    makeFile("sub/\xce\xa9mega.txt", 1);
    const Answer snapshot = runInAnsi({"snapshot", folder()});
    ASSERT_EQ(snapshot.status, 0) << snapshot.err;

    EXPECT_EQ(runInAnsi({"show"}).out,
              folder() + "\\Syst\xe8me.txt|1 Bytes|12/6/2026 10:00:00 AM\n" + folder() +
                  "\\sub\\?mega.txt|1 Bytes|12/6/2026 10:00:00 AM\n");
    const std::string json = runInAnsi({"show", "--json"}).out;
    EXPECT_NE(json.find("Syst\xc3\xa8me.txt\""), std::string::npos) << json;
    EXPECT_NE(json.find("sub\\\\?mega.txt\""), std::string::npos) << json;

    engine::LogFilesNow(folder(), logPath, rows, ansiTools);
    EXPECT_EQ(runInAnsi({"diff"}).status, 0);
}

}  // namespace
}  // namespace kestrava::testing
