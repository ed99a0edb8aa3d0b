#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "core/ErrorReport.h"
#include "core/LocationTags.h"
#include "platform/RuntimeError.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtShell.h"
#include "widget/Form1Fixture.h"

namespace kestrava::testing {
namespace {

class Form1HistoryLog : public Form1Fixture {
protected:
    Form1HistoryLog() { loadedForm(); }

    void writeLog(const std::string& text) {
        std::ofstream(form->HistoryLogPath, std::ios::binary | std::ios::app) << text;
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

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
    click(form->PushButton1);

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

    click(form->PushButton1);

    EXPECT_EQ(shell.viewed, (std::vector<std::string>{(spaced / "Kestrava.txt").string()}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1HistoryLog, AViewerThatCantStartIsReported) {
    writeLog("x");
    shell.failStarts = true;
    click(form->PushButton1);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, Report(53, core::location_tag::PushButton1Click, 100));
}

TEST_F(Form1HistoryLog, CopyWithoutALogLeavesTheClipboardAlone) {
    click(form->PushButton2);

    EXPECT_TRUE(clipboard.puts.empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1HistoryLog, CopyPutsTheWholeLogOnTheClipboardAfreshEachTime) {
    const std::string first = "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date Modified\r\n";
    const std::string second = "[12/7/2026 4:17:16 AM]\r\nFile|Size|Date Modified\r\n";
    writeLog(first);
    click(form->PushButton2);
    writeLog(second);
    click(form->PushButton2);

    EXPECT_EQ(clipboard.puts, (std::vector<std::string>{first, first + second}));
}

TEST_F(Form1HistoryLog, ALogThatCantBeReadIsReportedAndNothingIsCopied) {
    std::filesystem::create_directory(form->HistoryLogPath);
    click(form->PushButton2);

    EXPECT_TRUE(clipboard.puts.empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 22), "Path/File access error");
    EXPECT_NE(dialogs.shown[0].text.find("PushButton2_Click at line 100"), std::string::npos);
}

TEST_F(Form1HistoryLog, ClearAnsweredNoChangesNothing) {
    writeLog("history");
    dialogs.answers = {platform::MessageAnswer::No};
    click(form->PushButton12);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0] ==
                PlainBox("Are you sure you want to delete the history log and start over?",
                         platform::MessageButtons::YesNo));
    EXPECT_EQ(ReadWholeFile(form->HistoryLogPath), "history");
}

TEST_F(Form1HistoryLog, ClearAnsweredYesDeletesTheLogUntilTheNextSnapshot) {
    writeLog("history");
    dialogs.answers = {platform::MessageAnswer::Yes};
    click(form->PushButton12);

    EXPECT_FALSE(std::filesystem::exists(form->HistoryLogPath));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_GE(events.pumps, 1);
    EXPECT_EQ(form->ListView1->model()->columnCount(), 3);

    click(form->PushButton1);
    EXPECT_EQ(dialogs.shown.back().text,
              "There isn't a history to view because actions have not been performed yet.");
}

TEST_F(Form1HistoryLog, CopyAfterASecondSnapshotHoldsBothEntries) {
    TemporaryFolder watched;
    watched.writeFile("notes.txt", "notes");
    form->Text1->setText(QString::fromStdString(watched.string() + "/"));
    form->LogFilesNow();
    form->LogFilesNow();
    click(form->PushButton2);

    ASSERT_EQ(clipboard.puts.size(), 1u);
    EXPECT_EQ(clipboard.puts[0], ReadWholeFile(form->HistoryLogPath));
    EXPECT_NE(clipboard.puts[0].find("notes.txt|5 Bytes|"),
              clipboard.puts[0].rfind("notes.txt|5 Bytes|"));
}

TEST_F(Form1HistoryLog, ClearAnsweredYesEmptiesTheSnapshotListAndKeepsItsColumns) {
    TemporaryFolder watched;
    watched.writeFile("notes.txt", "notes");
    form->Text1->setText(QString::fromStdString(watched.string() + "/"));
    form->LogFilesNow();
    ASSERT_EQ(form->ListView1->model()->rowCount(), 3);

    dialogs.answers = {platform::MessageAnswer::Yes};
    click(form->PushButton12);

    EXPECT_EQ(form->ListView1->model()->rowCount(), 0);
    EXPECT_EQ(form->ListView1->model()->columnCount(), 3);
    EXPECT_FALSE(std::filesystem::exists(form->HistoryLogPath));
}

TEST_F(Form1HistoryLog, ClearWithNoLogShowsNoError) {
    dialogs.answers = {platform::MessageAnswer::Yes};
    click(form->PushButton12);

    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(Form1HistoryLog, ALogThatCantBeDeletedIsReported) {
    std::filesystem::create_directory(form->HistoryLogPath);
    dialogs.answers = {platform::MessageAnswer::Yes};
    click(form->PushButton12);

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].text.find("PushButton12_Click at line 102"), std::string::npos);
    EXPECT_EQ(dialogs.shown[1].caption, "Application Error");
}

TEST_F(Form1HistoryLog, HelpNamesTheContactPage) {
    click(form->PushButton11);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0] == PlainBox("Questions? Please contact Team Velquist at "
                                             "https://www.velquist.com/contact/",
                                             platform::MessageButtons::Ok));
}

// The real clipboard and the real way of opening the log, for what only they can show.
class Form1HistoryLogForReal : public Form1Fixture {
protected:
    Form1HistoryLogForReal() {
        form = std::make_unique<app::Form1>(realServices);
        form->Form_Load();
    }

    platform::QtClipboard realClipboard;
    platform::QtShell realShell;
    platform::Services realServices{fileSystem, settingsBackend, dialogs,        realShell,
                                    events,     clock,           environment,    realClipboard,
                                    locale,     notifyArea,      startupRegistry};
};

// A log grows without limit; one larger than the machine's memory can't be held.
TEST_F(Form1HistoryLogForReal, ALogTooLargeToHoldIsReportedAndNothingIsCopied) {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    std::ofstream(form->HistoryLogPath) << "x";
    std::filesystem::resize_file(form->HistoryLogPath, std::uintmax_t{8} << 40);  // sparse

    form->PushButton2->click();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              core::ErrorReport::text(platform::RuntimeError(7),
                                      core::location_tag::PushButton2Click, 100));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    std::filesystem::remove(form->HistoryLogPath);
}

TEST_F(Form1HistoryLogForReal, ACharacterCutOffAtTheEndOfTheLogIsNotDropped) {
    std::ofstream(form->HistoryLogPath, std::ios::binary) << "caf\xc3\xa9 \xc3";
    form->PushButton2->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("caf\xc3\xa9 \xef\xbf\xbd"));
}

// Where the desktop has no program for text files, xdg-open ends with status 3 after
// a moment: the window goes on meanwhile, and the failure is reported when it comes.
TEST_F(Form1HistoryLogForReal, AViewerThatFailsAfterStartingIsReportedWithoutBlocking) {
    TemporaryFolder tools;
    const auto viewer = tools.writeFile("xdg-open", "#!/bin/sh\nsleep 0.3\nexit 3\n");
    std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(tools.string()) + ":" + path);
    std::ofstream(form->HistoryLogPath) << "x";

    form->PushButton1->click();
    qputenv("PATH", path);
    EXPECT_TRUE(dialogs.shown.empty()) << "the click returned before the viewer ended";

    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown.empty(); }, 10000));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              core::ErrorReport::text(platform::RuntimeError(53),
                                      core::location_tag::PushButton1Click, 100));
}

}  // namespace
}  // namespace kestrava::testing
