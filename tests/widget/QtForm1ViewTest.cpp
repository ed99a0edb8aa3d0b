#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "widget/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using app::Control;
using settings::Setting;
namespace code = platform::notify_code;

// What only the Qt view does: its widgets' events reach the window's handlers, and it
// shows what they set (the handlers themselves are tested over a fake view).
class QtForm1View : public Form1Fixture {
protected:
    void click(Control control) {
        QWidget* target = view->widget(control);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier,
                          qobject_cast<QCheckBox*>(target) ? QPoint(8, target->height() / 2)
                                                           : target->rect().center());
    }

    void moveOver(QWidget* surface) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), surface->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &move);
    }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : dialogs.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    // As the window manager minimises a window: the state changes, then the window's
    // own handling runs from the event loop.
    void minimise() {
        view->QWidget::setWindowState(view->QWidget::windowState() | Qt::WindowMinimized);
        QCoreApplication::processEvents();
    }

    void clickTrayIcon() {
        notifyArea.notify(notifyArea.calls.at(0).data.hWnd, 0, code::LeftButtonUp);
    }

    bool shownNormally() const {
        return view->QWidget::isVisible() && view->QWidget::windowState() == Qt::WindowNoState;
    }
};

TEST_F(QtForm1View, EachPushButtonReachesItsHandler) {
    TemporaryFolder watched;
    watched.writeFile("notes.txt", "notes");
    store(Setting::Text1, watched.string() + "/");
    loadedForm();
    view->show();

    click(Control::PushButton1);  // no log yet
    click(Control::PushButton6);
    EXPECT_EQ(form->snapshotRows().rowCount(), 3u);
    click(Control::PushButton2);
    EXPECT_EQ(clipboard.puts.size(), 1u);
    click(Control::PushButton5);
    EXPECT_EQ(view->caption(Control::PushButton5), "Turn On Automatic Log");
    click(Control::PushButton3);
    EXPECT_EQ(dialogs.chooserOpenings.size(), 1u);
    click(Control::PushButton11);
    dialogs.answers = {platform::MessageAnswer::No};
    click(Control::PushButton12);

    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 20), "There isn't a histor");
    EXPECT_EQ(dialogs.shown[1].text.substr(0, 20), "Questions? Please co");
    EXPECT_EQ(dialogs.shown[2].text.substr(0, 20), "Are you sure you wan");
}

TEST_F(QtForm1View, TheFolderBoxAndTheCheckBoxesReachTheirHandlers) {
    store(Setting::WindowsStartup, "On");
    loadedForm();
    view->show();
    auto* box = widget<QLineEdit>(Control::Text1);
    box->clear();
    settingsBackend.writes.clear();

    QTest::keyClicks(box, "/srv");
    click(Control::Check8);

    EXPECT_EQ(settingsBackend.writes,
              (std::vector<fakes::RecordingSettingsBackend::Write>{{"Text1", "/"},
                                                                   {"Text1", "/s"},
                                                                   {"Text1", "/sr"},
                                                                   {"Text1", "/srv"},
                                                                   {"Minimized", "On"}}));
    EXPECT_EQ(view->folderText(), "/srv");
}

// The user's choice of interval is a click anywhere in the list, or a move of the
// selection with the keyboard; start-up selecting the stored row is none.
TEST_F(QtForm1View, TheIntervalListReportsTheUsersChoicesOnly) {
    loadedForm();
    view->show();
    auto* list = widget<QTreeWidget>(Control::ListView2);
    EXPECT_EQ(stored(Setting::OftenIndex), "<absent>");

    const QPoint row5 = list->visualItemRect(list->topLevelItem(4)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row5);
    EXPECT_EQ(stored(Setting::OftenIndex), "5");

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(stored(Setting::OftenIndex), "6");
    EXPECT_EQ(form->Schedule.TotalSeconds, 300);
}

TEST_F(QtForm1View, TheTimerTicksTheWindowOnlyWhileLoggingIsOn) {
    store(Setting::OftenIndex, "2");
    loadedForm();
    EXPECT_TRUE(view->timer().isTicking());

    emit view->timer().tick();
    EXPECT_EQ(view->caption(Control::Frame1), "Next log will occur in 00:00:04");

    form->PushButton5_Click();
    EXPECT_FALSE(view->timer().isTicking());
}

TEST_F(QtForm1View, MouseMovesReachTheHoverRuleAndThePointerShowsIt) {
    std::filesystem::copy_file(KESTRAVA_HAND_CURSOR, programFolder.path() / "HAND-M.CUR");
    loadedForm();

    moveOver(widget<QWidget>(Control::PushButton6));
    EXPECT_EQ(form->mousePointer(), commands::MousePointer::Custom);
    EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(view->cursor().hotSpot(), QPoint(7, 0));

    moveOver(widget<QWidget>(Control::Text1));
    EXPECT_EQ(form->mousePointer(), commands::MousePointer::Custom) << "the box has no say";
    moveOver(view->widget<QTreeWidget>(Control::ListView2)->viewport());
    EXPECT_EQ(form->mousePointer(), commands::MousePointer::Default);
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);

    view->setMousePointer(commands::MousePointer::Hourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    view->setMousePointer(commands::MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtForm1View, WithoutTheCursorFileButtonsKeepTheStandardPointer) {
    loadedForm();
    moveOver(widget<QWidget>(Control::PushButton6));
    EXPECT_EQ(form->mousePointer(), commands::MousePointer::Custom);
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(QtForm1View, MinimisingGoesIntoTheTrayAndAClickBringsTheWindowBackNormal) {
    loadedForm();
    form->Show();
    view->QWidget::setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();

    minimise();
    EXPECT_TRUE(view->isHidden());
    EXPECT_TRUE(form->MinimizedToTray);

    clickTrayIcon();
    EXPECT_TRUE(shownNormally()) << "back normal, also from maximised";
    EXPECT_FALSE(form->MinimizedToTray);
}

TEST_F(QtForm1View, AMinimisedStartNeverReachesTheScreenAndComesBackNormal) {
    store(Setting::WindowsStartup, "On");
    store(Setting::Minimized, "On");
    loadedForm();
    form->Show();
    EXPECT_TRUE(view->isHidden());
    QCoreApplication::processEvents();

    EXPECT_TRUE(view->isHidden());
    EXPECT_TRUE(form->MinimizedToTray);
    clickTrayIcon();
    EXPECT_TRUE(shownNormally());
}

TEST_F(QtForm1View, ClosingRunsTheCloseHandlingAndEndsTheProgram) {
    loadedForm();
    form->Show();

    EXPECT_TRUE(view->close());

    EXPECT_FALSE(view->timer().isEnabled());
    EXPECT_TRUE(events.ended);
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace kestrava::testing
