#include "platform/qt/QtNotifyArea.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>
#include <chrono>
#include <memory>
#include <vector>

#include "platform/posix/SystemClock.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtPicture.h"
#include "tray/cSysTray.h"

namespace kestrava::platform {
namespace {

using namespace std::chrono_literals;

// What reached a window, in the order it came.
struct Message {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Message&) const = default;
};

struct Recorder {
    std::vector<Message> messages;
    std::function<void()> onMessage;
};

std::intptr_t RecordingProcedure(NotifyArea& area, WindowHandle window, std::uint32_t message,
                                 std::uintptr_t wParam, std::intptr_t lParam) {
    auto* recorder = static_cast<Recorder*>(area.windowUserData(window));
    recorder->messages.push_back({message, wParam, lParam});
    if (recorder->onMessage) {
        recorder->onMessage();
    }
    return 0;
}

PictureRef BlueIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    return std::make_shared<QtPicture>(QIcon(pixmap));
}

class QtNotifyAreaTest : public ::testing::Test {
protected:
    QtNotifyAreaTest() : window(area.createWindow()) {
        area.setWindowProcedure(window, &RecordingProcedure);
        area.setWindowUserData(window, &recorder);
    }

    NotifyIconData Record(std::uint32_t flags, std::uint32_t uID = 7) const {
        NotifyIconData record;
        record.cbSize = NotifyIconData::RecordSize;
        record.hWnd = window;
        record.uID = uID;
        record.uFlags = flags;
        return record;
    }

    void addIcon(std::uint32_t uID = 7) {
        auto record = Record(notify_flag::Message | notify_flag::Icon | notify_flag::Tip, uID);
        record.uCallbackMessage = 1125;
        record.hIcon = BlueIcon();
        record.szTip = "Kestrava";
        ASSERT_TRUE(area.notifyIcon(NotifyMessage::Add, record));
    }

    QtNotifyArea area;
    WindowHandle window;
    Recorder recorder;
};

TEST_F(QtNotifyAreaTest, ClicksAndBalloonClicksComeBackAsCodesWithTheIdentifier) {
    addIcon();
    QSystemTrayIcon* tray = area.trayIcon(window, 7);
    ASSERT_NE(tray, nullptr);

    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Context);
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    emit tray->activated(QSystemTrayIcon::MiddleClick);
    emit tray->activated(QSystemTrayIcon::Unknown);
    emit tray->messageClicked();

    EXPECT_EQ(recorder.messages, (std::vector<Message>{{1125, 7, 0x202},
                                                       {1125, 7, 0x205},
                                                       {1125, 7, 0x203},
                                                       {1125, 7, 0x208},
                                                       {1125, 7, 0x405}}));
}

TEST_F(QtNotifyAreaTest, RecordsSetTheIconAndTip) {
    addIcon();
    QSystemTrayIcon* tray = area.trayIcon(window, 7);
    EXPECT_TRUE(tray->isVisible());
    EXPECT_FALSE(tray->icon().isNull());
    EXPECT_EQ(tray->toolTip(), "Kestrava");

    auto tip = Record(notify_flag::Tip);
    tip.szTip = "";
    EXPECT_TRUE(area.notifyIcon(NotifyMessage::Modify, tip));
    EXPECT_EQ(tray->toolTip(), "");

    EXPECT_FALSE(area.notifyIcon(NotifyMessage::Add, Record(notify_flag::Message)))
        << "an icon is added once";
    EXPECT_TRUE(area.notifyIcon(NotifyMessage::Delete, Record(0)));
    EXPECT_EQ(area.trayIcon(window, 7), nullptr);
    EXPECT_FALSE(area.notifyIcon(NotifyMessage::Modify, tip));
    EXPECT_FALSE(area.notifyIcon(NotifyMessage::Delete, Record(0)));
}

TEST_F(QtNotifyAreaTest, AnIconCanBeDeletedWhileItsClickIsHandled) {
    addIcon();
    QPointer<QSystemTrayIcon> tray = area.trayIcon(window, 7);
    recorder.onMessage = [&] { area.notifyIcon(NotifyMessage::Delete, Record(0)); };

    emit tray->activated(QSystemTrayIcon::Trigger);

    EXPECT_EQ(area.trayIcon(window, 7), nullptr);
    ASSERT_FALSE(tray.isNull()) << "Qt is still inside the icon's click";
    emit tray->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(recorder.messages.size(), 1u) << "a removed icon reports nothing more";
    QCoreApplication::processEvents();
    EXPECT_TRUE(tray.isNull());
}

// The whole road of a balloon click: Qt's signal, the area, the control's window
// procedure, the balloon-up flag, the end of the wait.
TEST(SysTrayOverQt, AClickOnTheBalloonEndsTheWait) {
    QtNotifyArea area;
    QtEventPump events;
    SystemClock clock;
    tray::cSysTray control(area, events, clock,
                           {.InTray = false, .TrayIcon = BlueIcon(), .TrayTip = ""});
    control.InTray(true);
    QSystemTrayIcon* tray = area.trayIcon(1, 0);
    ASSERT_NE(tray, nullptr);
    QTimer::singleShot(50ms, tray, [tray] { emit tray->messageClicked(); });

    const auto start = std::chrono::steady_clock::now();
    control.ShowBalloon("text", "Kestrava", 5, true);

    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

}  // namespace
}  // namespace kestrava::platform
