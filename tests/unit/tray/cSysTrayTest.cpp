#include "tray/cSysTray.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakePicture.h"
#include "fakes/RecordingNotifyArea.h"
#include "platform/RuntimeError.h"
#include "tray/mSysTray.h"

namespace kestrava::tray {
namespace {

using namespace std::chrono_literals;
using platform::NotifyIconData;
using platform::NotifyMessage;
using platform::PictureType;
namespace code = platform::notify_code;
namespace flag = platform::notify_flag;

class SysTray : public ::testing::Test {
protected:
    SysTray() {
        // Waiting moves the clock on by the time asked for, as a quiet event loop would.
        events.onWait = [this](std::chrono::milliseconds longest) {
            clock.monotonicTime += longest;
        };
    }

    cSysTray& control() {
        if (!control_) {
            control_ = std::make_unique<cSysTray>(area, events, clock);
            control_->MouseMove = [this](std::int32_t id) {
                raised.push_back({"MouseMove", 0, id});
            };
            control_->MouseDown = Recorder("MouseDown");
            control_->MouseUp = Recorder("MouseUp");
            control_->MouseDblClick = Recorder("MouseDblClick");
        }
        return *control_;
    }

    std::function<void(std::int16_t, std::int32_t)> Recorder(const char* name) {
        return [this, name](std::int16_t button, std::int32_t id) {
            raised.push_back({name, button, id});
        };
    }

    platform::WindowHandle window() const { return area.calls.at(0).data.hWnd; }

    // The record every request starts from.
    NotifyIconData Record(std::uint32_t flags) const {
        NotifyIconData record;
        record.cbSize = 488;
        record.hWnd = window();
        record.uID = 0;
        record.uFlags = flags;
        return record;
    }

    NotifyIconData BalloonRemoval() const { return Record(flag::Info); }

    struct Event {
        std::string name;
        int button;
        int iconId;
        bool operator==(const Event&) const = default;
    };

    fakes::RecordingNotifyArea area;
    fakes::FakeEventPump events;
    fakes::FakeClock clock;
    std::vector<Event> raised;
    std::unique_ptr<cSysTray> control_;
    const platform::PictureRef icon = fakes::NewPicture(PictureType::Icon);
};

TEST_F(SysTray, RegisteringSendsOnlyTheIconAndTipThatAreSet) {
    struct Case {
        bool withIcon;
        std::string tip;
        std::uint32_t flags;
    };
    for (const Case& c : {Case{false, "", 0x1}, Case{true, "", 0x3}, Case{false, "Kestrava", 0x5},
                          Case{true, "Kestrava", 0x7}}) {
        area.calls.clear();
        cSysTray tray(area, events, clock);
        if (c.withIcon) {
            tray.TrayIcon(icon);
        }
        tray.TrayTip(c.tip);
        EXPECT_TRUE(area.calls.empty()) << "nothing is sent while out of the tray";

        tray.InTray(true);

        ASSERT_EQ(area.calls.size(), 1u);
        const auto& [message, record] = area.calls[0];
        EXPECT_EQ(message, NotifyMessage::Add);
        EXPECT_EQ(record.uFlags, c.flags);
        EXPECT_EQ(record.cbSize, 488u);
        EXPECT_EQ(record.uID, 0u);
        EXPECT_EQ(record.uCallbackMessage, 1125u);
        EXPECT_EQ(record.hIcon, c.withIcon ? icon : nullptr);
        EXPECT_EQ(record.szTip, c.tip);
        EXPECT_TRUE(tray.InTray());
    }
}

TEST_F(SysTray, SettingInTrayToTheValueItHasSendsNothing) {
    auto& tray = control();
    tray.InTray(false);
    EXPECT_TRUE(area.calls.empty());

    tray.InTray(true);
    tray.InTray(true);
    tray.InTray(false);
    tray.InTray(false);

    ASSERT_EQ(area.calls.size(), 2u);
    EXPECT_EQ(area.calls[0].message, NotifyMessage::Add);
    EXPECT_EQ(area.calls[1], (fakes::RecordingNotifyArea::Call{NotifyMessage::Delete, Record(0)}));
    EXPECT_FALSE(tray.InTray());
}

TEST_F(SysTray, APictureThatIsNotAnIconIsIgnored) {
    auto& tray = control();
    tray.TrayIcon(icon);
    tray.TrayIcon(fakes::NewPicture(PictureType::Bitmap));
    tray.TrayIcon(nullptr);
    EXPECT_EQ(tray.TrayIcon(), icon);

    tray.InTray(true);
    tray.TrayIcon(fakes::NewPicture(PictureType::Bitmap));
    ASSERT_EQ(area.calls.size(), 1u);
    EXPECT_EQ(area.calls[0].data.hIcon, icon);

    const auto other = fakes::NewPicture(PictureType::Icon);
    tray.TrayIcon(other);
    auto change = Record(flag::Icon);
    change.hIcon = other;
    EXPECT_EQ(area.calls.back(), (fakes::RecordingNotifyArea::Call{NotifyMessage::Modify, change}));
    EXPECT_EQ(tray.TrayIcon(), other);
}

TEST_F(SysTray, ATipChangedInTheTrayIsSentEvenWhenEmpty) {
    auto& tray = control();
    tray.TrayTip("Kestrava");
    tray.InTray(true);

    tray.TrayTip("");

    auto change = Record(flag::Tip);
    EXPECT_EQ(area.calls.back(), (fakes::RecordingNotifyArea::Call{NotifyMessage::Modify, change}));
    EXPECT_EQ(tray.TrayTip(), "");
}

TEST_F(SysTray, TextsAreCutToTheirFieldsWithoutSplittingACharacter) {
    auto& tray = control();
    const std::string longTip(200, 't');
    tray.TrayTip(longTip);
    tray.InTray(true);
    EXPECT_EQ(tray.TrayTip(), longTip) << "the control keeps the whole text";
    tray.ShowBalloon(std::string(300, 'x'), std::string(70, 'T'), 0, false);
    // "é" is two bytes: the 127th and 128th, which a cut at 127 bytes would split.
    tray.TrayTip(std::string(126, 'a') + "é");

    EXPECT_EQ(area.calls[0].data.szTip, std::string(127, 't'));
    EXPECT_EQ(area.calls[1].data.szInfo, std::string(255, 'x'));
    EXPECT_EQ(area.calls[1].data.szInfoTitle, std::string(63, 'T'));
    EXPECT_EQ(area.calls[2].data.szTip, std::string(126, 'a'));
}

// The middle button, the balloon-shown notice and anything unknown raise nothing.
TEST_F(SysTray, MouseNotificationsRaiseTheirEventsWithButtonAndIdentifier) {
    auto& tray = control();
    tray.InTray(true);
    for (const std::uint32_t c :
         {code::MouseMove, code::LeftButtonDown, code::LeftButtonUp, code::LeftButtonDoubleClick,
          code::MiddleButtonDown, code::MiddleButtonUp, code::MiddleButtonDoubleClick,
          code::BalloonShow, 0x20Au, code::RightButtonDown, code::RightButtonUp,
          code::RightButtonDoubleClick}) {
        area.notify(window(), 0, c);
    }
    EXPECT_EQ(raised, (std::vector<Event>{{"MouseMove", 0, 0},
                                          {"MouseDown", 1, 0},
                                          {"MouseUp", 1, 0},
                                          {"MouseDblClick", 1, 0},
                                          {"MouseDown", 2, 0},
                                          {"MouseUp", 2, 0},
                                          {"MouseDblClick", 2, 0}}));
}

TEST_F(SysTray, OutOfTheTrayTheWindowHasItsOwnProcedureAgain) {
    auto& tray = control();
    tray.InTray(true);
    EXPECT_EQ(mSysTray::PreviousWindowProc, &platform::DefaultWindowProcedure);
    area.sendMessage(window(), mSysTray::CallbackMessage, 0, code::LeftButtonUp);
    EXPECT_EQ(raised.size(), 1u);

    tray.InTray(false);
    area.sendMessage(window(), mSysTray::CallbackMessage, 0, code::LeftButtonUp);
    EXPECT_EQ(raised.size(), 1u) << "the message no longer reaches the control";
    EXPECT_FALSE(area.holdsIcon(window(), 0));
}

TEST_F(SysTray, ABalloonIsSentAsInfoAlone) {
    auto& tray = control();
    tray.InTray(true);

    tray.ShowBalloon("has been minimized", "Kestrava", 0, false);
    tray.ShowBalloon("again", "", -3, false);

    auto balloon = Record(flag::Info);
    balloon.szInfo = "has been minimized";
    balloon.szInfoTitle = "Kestrava";
    EXPECT_EQ(area.calls[1], (fakes::RecordingNotifyArea::Call{NotifyMessage::Modify, balloon}));
    EXPECT_EQ(area.calls[2].data.uTimeout, 0u);
    EXPECT_EQ(area.calls.size(), 3u) << "without a time-out there is no wait and no removal";
    EXPECT_TRUE(events.waits.empty());
}

TEST_F(SysTray, AShowOnceBalloonIsShownOnceWhateverCameBefore) {
    auto& tray = control();
    tray.InTray(true);

    tray.ShowBalloon("plain", "", 0, false);
    tray.ShowBalloon("once", "", 0, true);
    tray.ShowBalloon("once more", "", 0, true);
    tray.ShowBalloon("plain again", "", 0, false);

    std::vector<std::string> shown;
    for (const auto& call : area.calls) {
        if (call.data.uFlags == flag::Info) {
            shown.push_back(call.data.szInfo);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"plain", "once", "plain again"}));
}

TEST_F(SysTray, TheWaitEndsWhenTheBalloonTimesOut) {
    auto& tray = control();
    tray.InTray(true);
    events.onWait = [&](std::chrono::milliseconds) {
        clock.monotonicTime += 1500ms;
        if (events.waits.size() == 2) {
            area.notify(window(), 0, code::BalloonTimeout);
        }
    };

    tray.ShowBalloon("text", "title", 5, true);

    EXPECT_EQ(area.calls.back().data.uTimeout, 5000u);
    EXPECT_EQ(events.waits, (std::vector<std::chrono::milliseconds>{5000ms, 3500ms}));
    EXPECT_EQ(area.calls.size(), 2u) << "a balloon that is gone is not removed";
}

// Out of the tray the balloon is still sent, is refused, and nothing ends the wait early.
TEST_F(SysTray, AtTheTimeOutABalloonStillUpIsRemoved) {
    auto& tray = control();
    events.onWait = [&](std::chrono::milliseconds longest) {
        clock.monotonicTime += std::min<std::chrono::milliseconds>(longest, 2s);
    };

    tray.ShowBalloon("text", "title", 5, false);

    EXPECT_EQ(events.waits, (std::vector<std::chrono::milliseconds>{5000ms, 3000ms, 1000ms}));
    ASSERT_EQ(area.calls.size(), 2u);
    EXPECT_EQ(area.calls[0].data.szInfo, "text");
    EXPECT_EQ(area.calls[1],
              (fakes::RecordingNotifyArea::Call{NotifyMessage::Modify, BalloonRemoval()}));
}

TEST_F(SysTray, AClickOnTheIconDuringTheWaitIsHandledAndEndsIt) {
    auto& tray = control();
    tray.InTray(true);
    events.onWait = [&](std::chrono::milliseconds) {
        clock.monotonicTime += 100ms;
        area.notify(window(), 0, code::BalloonUserClick);
        area.notify(window(), 0, code::LeftButtonUp);
    };

    tray.ShowBalloon("text", "title", 5, true);

    EXPECT_EQ(raised, (std::vector<Event>{{"MouseUp", 1, 0}}));
    EXPECT_EQ(events.waits.size(), 1u);
    EXPECT_EQ(area.calls.size(), 2u);
}

TEST_F(SysTray, ATimeOutTooLongForMillisecondsFailsBeforeAnythingIsSent) {
    auto& tray = control();
    tray.InTray(true);
    try {
        tray.ShowBalloon("text", "title", 2'147'484, true);
        FAIL() << "expected an overflow";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.number(), platform::error_number::Overflow);
    }
    EXPECT_EQ(area.calls.size(), 1u);

    // The failed call did not count, and the longest time-out still fits.
    tray.ShowBalloon("text", "title", 2'147'483, true);
    EXPECT_EQ(area.calls[1].data.uTimeout, 2'147'483'000u);
}

TEST_F(SysTray, DestroyingTheControlTakesItsIconOutOfTheTray) {
    control().InTray(true);
    const auto handle = window();
    control_.reset();

    EXPECT_EQ(area.calls.back(),
              (fakes::RecordingNotifyArea::Call{NotifyMessage::Delete, Record(0)}));
    EXPECT_FALSE(area.holdsIcon(handle, 0));

    area.calls.clear();
    { cSysTray outOfTheTray(area, events, clock); }
    EXPECT_TRUE(area.calls.empty());
}

}  // namespace
}  // namespace kestrava::tray
