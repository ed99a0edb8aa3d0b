#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/qt/QtDialogs.h"
#include "widget/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using app::Control;
using settings::Setting;

// The real chooser, driven as a user would: it opens modal over the window, titled with
// the instruction, at the preselected folder, and only folders can be confirmed.
class Form1RealFolderChooser : public Form1Fixture {
protected:
    Form1RealFolderChooser() : Form1Fixture() {}

    // Runs the action on the chooser once it is up, then clicks "...".
    void withChooser(std::function<void(QFileDialog&)> action) {
        QTimer::singleShot(0, [action] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            action(*chooser);
        });
        QTest::mouseClick(widget<QPushButton>(Control::PushButton3), Qt::LeftButton);
    }

    platform::QtEventPump realEvents;
    platform::QtDialogs realDialogs{realEvents, platform::QtDialogs::FolderChooser::Qt};
    platform::Services realServices{fileSystem, settingsBackend, realDialogs,    shell,
                                    events,     clock,           environment,    clipboard,
                                    locale,     notifyArea,      startupRegistry};
    TemporaryFolder tree;
};

TEST_F(Form1RealFolderChooser, ChoosingASubFolderPutsItInTheBox) {
    std::filesystem::create_directories(tree.path() / "Archive");
    store(Setting::Text1, tree.string() + "/");
    loadedForm(realServices);
    realDialogs.setOwner(view.get());
    view->show();

    withChooser([&](QFileDialog& chooser) {
        EXPECT_EQ(chooser.windowTitle(), "Please select folder:");
        EXPECT_EQ(chooser.fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(chooser.isModal());
        EXPECT_EQ(chooser.directory().absolutePath(), QString::fromStdString(tree.string()));
        chooser.selectFile(QString::fromStdString((tree.path() / "Archive").string()));
        static_cast<QDialog&>(chooser).accept();
    });

    EXPECT_EQ(view->folderText(), (tree.path() / "Archive").string() + "/");
    EXPECT_EQ(stored(Setting::LastFolderDot), (tree.path() / "Archive").string());
}

TEST_F(Form1RealFolderChooser, CancellingTheChooserChangesNothing) {
    store(Setting::Text1, tree.string() + "/");
    loadedForm(realServices);
    realDialogs.setOwner(view.get());
    view->show();

    withChooser([](QFileDialog& chooser) { chooser.reject(); });

    EXPECT_EQ(view->folderText(), tree.string() + "/");
    EXPECT_EQ(stored(Setting::LastFolderDot), "<absent>");
}

// A name that is not valid text in the system's encoding (a Latin-1 "é" here): the
// desktop's chooser gives it back with U+FFFD in it, but the folder box, the settings
// and the snapshot must have the bytes the file system holds. (Qt's own chooser
// refuses to confirm such a folder at all, so the test confirms it past the check.)
TEST_F(Form1RealFolderChooser, AFolderWhoseNameIsNoValidTextKeepsItsBytes) {
    const std::string odd = (tree.path() / "caf\xe9").string();
    std::filesystem::create_directories(odd);
    tree.writeFile("caf\xe9/notes.txt", "notes");
    store(Setting::Text1, tree.string() + "/");
    store(Setting::StartStopState, "Off");
    loadedForm(realServices);
    realDialogs.setOwner(view.get());
    view->show();

    withChooser([&](QFileDialog& chooser) {
        chooser.selectFile(QFile::decodeName(QByteArray::fromStdString(odd)));
        static_cast<QDialog&>(chooser).done(QDialog::Accepted);
    });

    EXPECT_EQ(stored(Setting::LastFolderDot), odd);
    EXPECT_EQ(stored(Setting::Text1), odd + "/");
    widget<QPushButton>(Control::PushButton6)->click();
    EXPECT_NE(ReadWholeFile(form->HistoryLogPath).find(odd + "/notes.txt|5 Bytes|"),
              std::string::npos);
}

}  // namespace
}  // namespace kestrava::testing
