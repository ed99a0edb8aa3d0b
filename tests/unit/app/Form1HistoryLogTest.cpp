#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/ErrorReport.h"
#include "core/LocationTags.h"
#include "history/Compaction.h"
#include "platform/RuntimeError.h"
#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

class Form1HistoryLog : public Form1Fixture {
protected:
    Form1HistoryLog() { loadedForm(); }

    void writeLog(const std::string& text) {
        std::ofstream(form->HistoryLogPath, std::ios::binary | std::ios::app) << text;
    }

    void click(Control control) { view->click(control); }

    static platform::MessageBoxRequest PlainBox(std::string text,
                                                platform::MessageButtons buttons) {
        return {std::move(text), "Kestrava", buttons, platform::MessageIcon::None};
    }

    static std::string Report(int number, std::string_view tag, int step) {
        return core::ErrorReport::text(platform::RuntimeError(number), tag, step);
    }
};

bool operator==(const platform::MessageBoxRequest& a, const platform::MessageBoxRequest& b) {
    return a.text == b.text && a.caption == b.caption && a.buttons == b.buttons && a.icon == b.icon;
}

TEST_F(Form1HistoryLog, ViewWithoutALogSaysThereIsNoHistory) {
    click(Control::PushButton1);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0] ==
                PlainBox("There isn't a history to view because actions have not been "
                         "performed yet.",
                         platform::MessageButtons::Ok));
    EXPECT_TRUE(shell.viewed.empty());
}

TEST_F(Form1HistoryLog, ViewOpensTheLogAsOneArgumentEvenWithBlanksInItsPath) {
    TemporaryFolder base;
    const auto spaced = base.path() / "my temp folder";
    std::filesystem::create_directories(spaced);
    environment.variables["TEMP"] = spaced.string();
    loadedForm();
    writeLog("[12/7/2026 3:17:16 AM]\r\n");

    click(Control::PushButton1);

    EXPECT_EQ(shell.viewed, (std::vector<std::string>{(spaced / "Kestrava.txt").string()}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1HistoryLog, AViewerThatCantStartIsReported) {
    writeLog("x");
    shell.failStarts = true;
    click(Control::PushButton1);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, Report(53, core::location_tag::PushButton1Click, 100));
}

TEST_F(Form1HistoryLog, AViewerThatFailsOnceStartedIsReportedWhenItSaysSo) {
    writeLog("x");
    click(Control::PushButton1);
    ASSERT_EQ(shell.lateFailures.size(), 1u);
    EXPECT_TRUE(dialogs.shown.empty());

    shell.lateFailures[0](platform::RuntimeError(53));

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, Report(53, core::location_tag::PushButton1Click, 100));
}

TEST_F(Form1HistoryLog, ALogTooLargeToHoldIsOutOfMemoryAndNothingIsCopied) {
    writeLog(std::string(100, 'x'));
    clipboard.capacity = 99;
    click(Control::PushButton2);

    EXPECT_TRUE(clipboard.puts.empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, Report(7, core::location_tag::PushButton2Click, 100));
}

TEST_F(Form1HistoryLog, CopyWithoutALogLeavesTheClipboardAlone) {
    click(Control::PushButton2);

    EXPECT_TRUE(clipboard.puts.empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1HistoryLog, CopyPutsTheWholeLogOnTheClipboardAfreshEachTime) {
    const std::string first = "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n";
    const std::string second = "[12/7/2026 4:17:16 AM]\r\nFile|Size|Date Modified\r\n";
    writeLog(first);
    click(Control::PushButton2);
    writeLog(second);
    click(Control::PushButton2);

    EXPECT_EQ(clipboard.puts, (std::vector<std::string>{first, first + second}));
}

TEST_F(Form1HistoryLog, ALogThatCantBeReadIsReportedAndNothingIsCopied) {
    std::filesystem::create_directory(form->HistoryLogPath);
    click(Control::PushButton2);

    EXPECT_TRUE(clipboard.puts.empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 22), "Path/File access error");
    EXPECT_NE(dialogs.shown[0].text.find("PushButton2_Click at line 100"), std::string::npos);
}

TEST_F(Form1HistoryLog, ClearAnsweredNoChangesNothing) {
    writeLog("history");
    dialogs.answers = {platform::MessageAnswer::No};
    click(Control::PushButton12);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0] ==
                PlainBox("Are you sure you want to delete the history log and start over?",
                         platform::MessageButtons::YesNo));
    EXPECT_EQ(ReadWholeFile(form->HistoryLogPath), "history");
}

TEST_F(Form1HistoryLog, ClearAnsweredYesDeletesTheLogUntilTheNextSnapshot) {
    writeLog("history");
    dialogs.answers = {platform::MessageAnswer::Yes};
    click(Control::PushButton12);

    EXPECT_FALSE(std::filesystem::exists(form->HistoryLogPath));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_GE(events.pumps, 1);

    click(Control::PushButton1);
    EXPECT_EQ(dialogs.shown.back().text,
              "There isn't a history to view because actions have not been performed yet.");
}

TEST_F(Form1HistoryLog, ClearAnsweredYesDeletesTheStoreOfOlderEntriesToo) {
    writeLog("history");
    const std::string store = form->HistoryLogPath + ".history";
    std::ofstream(store, std::ios::binary) << "older entries";
    dialogs.answers = {platform::MessageAnswer::No, platform::MessageAnswer::Yes};

    click(Control::PushButton12);
    EXPECT_TRUE(std::filesystem::exists(store));
    click(Control::PushButton12);

    EXPECT_FALSE(std::filesystem::exists(store));
    EXPECT_FALSE(std::filesystem::exists(form->HistoryLogPath));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

// Killed between moving the log aside and moving the cut log in, a compaction leaves the
// cut log waiting: the window's next entry follows the entries it holds.
TEST_F(Form1HistoryLog, ASnapshotAfterACompactionStoppedMidwayFollowsTheCutLog) {
    TemporaryFolder watched;
    watched.writeFile("notes.txt", "notes");
    view->setFolderText(watched.string() + "/");
    click(Control::PushButton6);
    click(Control::PushButton6);
    struct Killed {};
    EXPECT_THROW(history::CompactHistory(fileSystem, form->HistoryLogPath, 1,
                                         [](history::CompactionStep step) {
                                             if (step == history::CompactionStep::StoreSwitched) {
                                                 throw Killed();
                                             }
                                         }),
                 Killed);
    std::filesystem::remove(form->HistoryLogPath);

    click(Control::PushButton6);

    const std::string log = ReadWholeFile(form->HistoryLogPath);
    EXPECT_EQ(std::count(log.begin(), log.end(), '['), 2) << log;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temporaryFolder.path()),
                            std::filesystem::directory_iterator()),
              2);
    EXPECT_TRUE(dialogs.shown.empty());
}

// A store beside an empty log that is no store, or is damaged in its first bytes, can't
// have left a cut log waiting: the window's entry goes into the log all the same.
TEST_F(Form1HistoryLog, ASnapshotIntoAnEmptyLogBesideAStoreDamagedInItsHeaderIsLogged) {
    TemporaryFolder watched;
    watched.writeFile("notes.txt", "notes");
    view->setFolderText(watched.string() + "/");
    writeLog("");
    std::ofstream(form->HistoryLogPath + ".history", std::ios::binary)
        << "KESTRAVA HISTORY and then no header";

    click(Control::PushButton6);

    const std::string log = ReadWholeFile(form->HistoryLogPath);
    EXPECT_EQ(std::count(log.begin(), log.end(), '['), 1) << log;
    EXPECT_NE(log.find("notes.txt"), std::string::npos) << log;
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1HistoryLog, CopyAfterASecondSnapshotHoldsBothEntries) {
    TemporaryFolder watched;
    watched.writeFile("notes.txt", "notes");
    view->setFolderText(watched.string() + "/");
    click(Control::PushButton6);
    click(Control::PushButton6);
    click(Control::PushButton2);

    ASSERT_EQ(clipboard.puts.size(), 1u);
    EXPECT_EQ(clipboard.puts[0], ReadWholeFile(form->HistoryLogPath));
    EXPECT_NE(clipboard.puts[0].find("notes.txt|5 Bytes|"),
              clipboard.puts[0].rfind("notes.txt|5 Bytes|"));
}

TEST_F(Form1HistoryLog, ClearAnsweredYesEmptiesTheSnapshotListAndKeepsItsColumns) {
    TemporaryFolder watched;
    watched.writeFile("notes.txt", "notes");
    view->setFolderText(watched.string() + "/");
    click(Control::PushButton6);
    ASSERT_EQ(rows(), 3u);

    dialogs.answers = {platform::MessageAnswer::Yes};
    click(Control::PushButton12);

    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(view->lists[Control::ListView1].columns.size(), 3u) << "the columns stay";
    EXPECT_FALSE(std::filesystem::exists(form->HistoryLogPath));
}

// "Clear History Log" answered Yes while a snapshot is held in the middle, after it
// has written part of its entry: that snapshot writes nothing more, so the new log
// begins with the next snapshot's own two first lines, and the list with its date row.
TEST_F(Form1HistoryLog, ClearDuringASnapshotLeavesOnlyWholeEntriesAfterIt) {
    TemporaryFolder watched;
    for (int file = 0; file < 3000; ++file) {  // more than a chunk of the log each
        watched.writeFile("a/a file with quite a long name, number " + std::to_string(file), "");
        watched.writeFile("b/b file with quite a long name, number " + std::to_string(file), "");
    }
    view->setFolderText(watched.string() + "/");
    click(Control::PushButton6);
    const auto firstEntry = std::filesystem::file_size(form->HistoryLogPath);
    bool cleared = false;
    events.onPump = [&] {
        if (!cleared && std::filesystem::file_size(form->HistoryLogPath) > firstEntry) {
            cleared = true;
            dialogs.answers = {platform::MessageAnswer::Yes};
            click(Control::PushButton12);
        }
    };

    click(Control::PushButton6);

    ASSERT_TRUE(cleared) << "the snapshot wrote no part of its entry before it ended";
    EXPECT_FALSE(std::filesystem::exists(form->HistoryLogPath));
    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "nothing to report";

    events.onPump = nullptr;
    click(Control::PushButton6);
    const std::string log = ReadWholeFile(form->HistoryLogPath);
    EXPECT_EQ(log.front(), '[');
    EXPECT_EQ(log.substr(log.find("\r\n") + 2, 25), "File|Size|Date Modified\r\n");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2 + 6000);
    EXPECT_EQ(rows(), 1u + 6000u + 1u);
}

TEST_F(Form1HistoryLog, ClearWithNoLogShowsNoError) {
    dialogs.answers = {platform::MessageAnswer::Yes};
    click(Control::PushButton12);

    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(Form1HistoryLog, ALogThatCantBeDeletedIsReported) {
    std::filesystem::create_directory(form->HistoryLogPath);
    dialogs.answers = {platform::MessageAnswer::Yes};
    click(Control::PushButton12);

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].text.find("PushButton12_Click at line 102"), std::string::npos);
    EXPECT_EQ(dialogs.shown[1].caption, "Application Error");
}

TEST_F(Form1HistoryLog, HelpNamesTheContactPage) {
    click(Control::PushButton11);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0] == PlainBox("Questions? Please contact Team Velquist at "
                                             "https://www.velquist.com/contact/",
                                             platform::MessageButtons::Ok));
}

}  // namespace
}  // namespace kestrava::testing
