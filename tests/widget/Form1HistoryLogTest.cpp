#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
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

using app::Control;

// The real clipboard and the real way of opening the log, for what only they can show.
class Form1HistoryLogForReal : public Form1Fixture {
protected:
    Form1HistoryLogForReal() { loadedForm(realServices); }

    void click(Control button) { widget<QPushButton>(button)->click(); }

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

    click(Control::PushButton2);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              core::ErrorReport::text(platform::RuntimeError(7),
                                      core::location_tag::PushButton2Click, 100));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    std::filesystem::remove(form->HistoryLogPath);
}

TEST_F(Form1HistoryLogForReal, ACharacterCutOffAtTheEndOfTheLogIsNotDropped) {
    std::ofstream(form->HistoryLogPath, std::ios::binary) << "caf\xc3\xa9 \xc3";
    click(Control::PushButton2);
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

    click(Control::PushButton1);
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
