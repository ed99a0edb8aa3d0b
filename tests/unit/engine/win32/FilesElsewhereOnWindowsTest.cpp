#include <algorithm>
#include <sstream>

#include "cli/Dispatch.h"
#include "engine/ListFiles.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/win32/ScriptedFileCalls.h"
#include "platform/win32/FilesElsewhere.h"
#include "unit/engine/win32/WindowsEngineFixture.h"

namespace kestrava::testing {
namespace {

using platform::AttributeRecallOnDataAccess;
using platform::AttributeRecallOnOpen;

constexpr std::int64_t Dec6At1000 = 1796551200;     // 2026-12-06 10:00:00 UTC
constexpr std::int64_t Nov30At162005 = 1796055605;  // 2026-11-30 16:20:05 UTC

// The engine over the Win32 file system whose listing and open answer as a machine with
// cloud drives and storage tiers would, where the tests say so: wine marks no file as
// being elsewhere, and no provider of its refuses an open.
class FilesElsewhereOnWindows : public WindowsEngineFixture {
protected:
    // The lines of the entry after its two heading lines, sorted: the file system's order
    // within a folder is not the test's business.
    std::vector<std::string> snapshot() {
        engine::LogFilesNow(folder(), logPath, scriptedRows, scriptedTools);
        std::istringstream log(ReadWholeFile(temporary.path() / "Kestrava.txt"));
        std::vector<std::string> lines;
        for (std::string text; std::getline(log, text);) {
            lines.push_back(text);
        }
        EXPECT_GE(lines.size(), 2u);
        lines.erase(lines.begin(), lines.begin() + std::min<std::size_t>(lines.size(), 2));
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    std::string line(const std::string& relative, const std::string& sizeAndDate) const {
        return Utf8(tree.path()) + "\\" + relative + "|" + sizeAndDate + "\r";
    }

    fakes::ScriptedFileCalls calls;
    platform::Win32FileSystem scripted{calls};
    engine::SnapshotTools scriptedTools{scripted, events, clock, locale, dialogs};
    engine::SnapshotRows scriptedRows{scriptedTools};
};

// Opening a file whose data is elsewhere can fetch it all from the cloud or a storage
// tier, or fail and drop the file from the entry: its size and time come from the
// listing, and it is never opened.
TEST_F(FilesElsewhereOnWindows, FilesWhoseDataIsElsewhereAreLoggedWithoutAnOpen) {
    makeFile("online.docx", 1536, Dec6At1000);
    makeFile("placeholder.xlsx", 3072, Dec6At1000);
    makeFile("tiered.pst", 2097152, Nov30At162005);
    makeFile("offline.txt", 10, Dec6At1000);
    makeFile("here.txt", 5, Dec6At1000);
    calls.addedAttributes = {
        {L"online.docx", AttributeRecallOnDataAccess},
        {L"placeholder.xlsx", AttributeRecallOnDataAccess | FILE_ATTRIBUTE_REPARSE_POINT},
        {L"tiered.pst", AttributeRecallOnOpen},
        {L"offline.txt", FILE_ATTRIBUTE_OFFLINE}};

    EXPECT_EQ(snapshot(),
              (std::vector<std::string>{line("here.txt", "5 Bytes|12/6/2026 10:00:00 AM"),
                                        line("offline.txt", "10 Bytes|12/6/2026 10:00:00 AM"),
                                        line("online.docx", "1.5 KB|12/6/2026 10:00:00 AM"),
                                        line("placeholder.xlsx", "3 KB|12/6/2026 10:00:00 AM"),
                                        line("tiered.pst", "2 MB|11/30/2026 4:20:05 PM")}));
    for (const wchar_t* elsewhere :
         {L"online.docx", L"placeholder.xlsx", L"tiered.pst", L"offline.txt"}) {
        EXPECT_FALSE(calls.wasOpened(elsewhere)) << "opened: " << Utf8(elsewhere);
    }
    EXPECT_TRUE(calls.wasOpened(L"here.txt"));
    EXPECT_TRUE(dialogs.shown.empty());
}

// A cloud provider that refuses the open (not signed in, not running, too slow, or
// refusing a scheduled task) does not make the file vanish from the entry; any other
// refusal keeps the file out, as ever.
TEST_F(FilesElsewhereOnWindows, AFileWhoseCloudProviderRefusesTheOpenIsStillLogged) {
    makeFile("denied.docx", 100, Dec6At1000);
    makeFile("stopped.xlsx", 200, Dec6At1000);
    makeFile("slow.pptx", 300, Dec6At1000);
    makeFile("shared.db", 400, Dec6At1000);
    makeFile("forbidden.txt", 500, Dec6At1000);
    calls.openErrors = {{L"denied.docx", platform::CloudFileAccessDenied},
                        {L"stopped.xlsx", platform::CloudFileProviderNotRunning},
                        {L"slow.pptx", platform::CloudFileUsMessageTimeout},
                        {L"shared.db", ERROR_SHARING_VIOLATION},
                        {L"forbidden.txt", ERROR_ACCESS_DENIED}};

    EXPECT_EQ(snapshot(),
              (std::vector<std::string>{line("denied.docx", "100 Bytes|12/6/2026 10:00:00 AM"),
                                        line("slow.pptx", "300 Bytes|12/6/2026 10:00:00 AM"),
                                        line("stopped.xlsx", "200 Bytes|12/6/2026 10:00:00 AM")}));
    EXPECT_TRUE(engine::IsOpenableFile(scripted, Utf8(tree.path() / "denied.docx")));
    EXPECT_FALSE(engine::IsOpenableFile(scripted, Utf8(tree.path() / "shared.db")));
    EXPECT_TRUE(dialogs.shown.empty());
}

// A listing fetches names, not data, so a folder recalled on open is walked as any
// other; one of the system's (hidden and system) stays out with what it holds.
TEST_F(FilesElsewhereOnWindows, FoldersRecalledOnOpenAreWalkedAsAnyOther) {
    makeFile("Cloud\\Deep\\a.txt", 1, Dec6At1000);
    makeFile("Recycled\\b.txt", 1, Dec6At1000);
    makeFolder("Recycled", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    calls.addedAttributes = {{L"Cloud", AttributeRecallOnOpen},
                             {L"Deep", AttributeRecallOnOpen | AttributeRecallOnDataAccess},
                             {L"Recycled", AttributeRecallOnOpen}};

    EXPECT_EQ(
        snapshot(),
        (std::vector<std::string>{line("Cloud\\Deep\\a.txt", "1 Bytes|12/6/2026 10:00:00 AM")}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// kestrava-log's snapshot runs the window's engine: the same files, opened or not.
TEST_F(FilesElsewhereOnWindows, KestravaLogsSnapshotLogsThemAsTheWindowDoes) {
    makeFile("Docs\\online.docx", 1536, Dec6At1000);
    makeFile("Mail\\denied.pst", 2048, Dec6At1000);
    makeFile("Mail\\shared.db", 1, Dec6At1000);
    makeFile("here.txt", 5, Dec6At1000);
    calls.addedAttributes = {{L"online.docx", AttributeRecallOnDataAccess}};
    calls.openErrors = {{L"denied.pst", platform::CloudFileAccessDenied},
                        {L"shared.db", ERROR_SHARING_VIOLATION}};
    const std::vector<std::string> window = snapshot();
    const std::string commandLog = Utf8(temporary.path() / "command.txt");

    fakes::FakeEnvironment environment;
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::Dispatch({"--log", commandLog, "snapshot", Utf8(tree.path())},
                                     {scripted, environment, clock, locale}, out, err);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.str() + err.str(), "");
    EXPECT_EQ(ReadWholeFile(temporary.path() / "command.txt"),
              ReadWholeFile(temporary.path() / "Kestrava.txt"));
    EXPECT_EQ(window,
              (std::vector<std::string>{line("Docs\\online.docx", "1.5 KB|12/6/2026 10:00:00 AM"),
                                        line("Mail\\denied.pst", "2 KB|12/6/2026 10:00:00 AM"),
                                        line("here.txt", "5 Bytes|12/6/2026 10:00:00 AM")}));
}

}  // namespace
}  // namespace kestrava::testing
