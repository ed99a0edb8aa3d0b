#include <filesystem>
#include <functional>
#include <thread>

#include "support/ThreadCount.h"
#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using namespace std::chrono_literals;
using platform::NotifyMessage;
using settings::Setting;
namespace code = platform::notify_code;
namespace flag = platform::notify_flag;

class Form1Window : public Form1Fixture {
protected:
    // As the window manager minimises a window: the state changes, then the window's
    // own handling runs.
    void minimise() { view->minimise(); }

    void clickIcon(std::uint32_t code) { notifyArea.notify(iconWindow(), 0, code); }

    platform::WindowHandle iconWindow() const { return notifyArea.calls.at(0).data.hWnd; }

    // The requests that showed a balloon (not the ones that took it down).
    std::vector<platform::NotifyIconData> balloons() const {
        std::vector<platform::NotifyIconData> shown;
        for (const auto& call : notifyArea.calls) {
            if (call.message == NotifyMessage::Modify && (call.data.uFlags & flag::Info) &&
                !call.data.szInfo.empty()) {
                shown.push_back(call.data);
            }
        }
        return shown;
    }

    bool isInTray() const { return !view->windowVisible && form->MinimizedToTray; }
    bool isShownNormally() const {
        return view->windowVisible && view->state == commands::WindowState::Normal &&
               !form->MinimizedToTray;
    }
};

TEST_F(Form1Window, StartUpPutsTheBlueVIntoTheTrayWithTheProductAsTip) {
    shownForm();

    ASSERT_EQ(notifyArea.calls.size(), 1u);
    const auto& add = notifyArea.calls[0];
    EXPECT_EQ(add.message, NotifyMessage::Add);
    EXPECT_EQ(add.data.uFlags, flag::Message | flag::Icon | flag::Tip);
    EXPECT_EQ(add.data.szTip, "Kestrava");
    EXPECT_EQ(add.data.uCallbackMessage, 1125u);
    ASSERT_TRUE(add.data.hIcon);
    EXPECT_EQ(add.data.hIcon->type(), platform::PictureType::Icon);
    EXPECT_TRUE(notifyArea.holdsIcon(iconWindow(), 0));
    EXPECT_TRUE(view->windowVisible);
}

TEST_F(Form1Window, MinimisingHidesTheWindowInTheTrayAndEitherClickBringsItBack) {
    shownForm();

    minimise();
    EXPECT_TRUE(isInTray());
    ASSERT_EQ(balloons().size(), 1u);
    const auto balloon = balloons()[0];
    EXPECT_EQ(balloon.szInfo,
              "has been minimized to the system tray.\r\n"
              "Click on the blue 'V' icon (V for Velquist) to bring the software back.");
    EXPECT_EQ(balloon.szInfoTitle, "Kestrava");
    EXPECT_EQ(balloon.uTimeout, 5000u);
    EXPECT_EQ(events.waits, (std::vector<std::chrono::milliseconds>{5000ms}));
    EXPECT_EQ(notifyArea.calls.back().data.uFlags, flag::Info) << "the balloon was taken down";
    EXPECT_TRUE(notifyArea.calls.back().data.szInfo.empty());

    clickIcon(code::LeftButtonUp);
    EXPECT_TRUE(isShownNormally());
    EXPECT_GE(view->focused, 1);

    minimise();
    EXPECT_TRUE(isInTray());
    EXPECT_EQ(balloons().size(), 1u) << "the balloon is shown once in a run";

    clickIcon(code::RightButtonUp);
    EXPECT_TRUE(isShownNormally());
    EXPECT_TRUE(notifyArea.holdsIcon(iconWindow(), 0)) << "the icon stays while the window is up";
}

TEST_F(Form1Window, AClickWhileTheBalloonIsUpBringsTheWindowBackAtOnce) {
    shownForm();
    bool shownDuringWait = false;
    events.onWait = [&](std::chrono::milliseconds longest) {
        if (!shownDuringWait) {
            clickIcon(code::LeftButtonUp);
            shownDuringWait = isShownNormally();
        }
        clock.monotonicTime += longest;
    };

    minimise();

    EXPECT_TRUE(shownDuringWait);
    EXPECT_TRUE(isShownNormally()) << "the minimise must not undo the click when it returns";
}

TEST_F(Form1Window, WithoutANotificationAreaTheWindowMinimisesAsAnyOther) {
    notifyArea.available = false;
    shownForm();

    minimise();

    EXPECT_TRUE(view->windowVisible);
    EXPECT_EQ(view->state, commands::WindowState::Minimized);
    EXPECT_FALSE(form->MinimizedToTray);
    EXPECT_TRUE(balloons().empty());
    EXPECT_TRUE(notifyArea.holdsIcon(iconWindow(), 0)) << "a tray host appearing later shows it";

    clickIcon(code::LeftButtonUp);
    EXPECT_TRUE(isShownNormally());
}

TEST_F(Form1Window, ClosingStopsLoggingTakesTheIconOutAndAsksNothing) {
    shownForm();
    ASSERT_TRUE(view->ticking());
    const auto writes = settingsBackend.writes;
    int pumpsDuringClose = -events.pumps;

    view->close();

    pumpsDuringClose += events.pumps;
    EXPECT_FALSE(view->enabled);
    EXPECT_FALSE(view->ticking());
    EXPECT_TRUE(events.ended);
    EXPECT_EQ(notifyArea.calls.back().message, NotifyMessage::Delete);
    EXPECT_FALSE(notifyArea.holdsIcon(iconWindow(), 0));
    EXPECT_EQ(pumpsDuringClose, 1);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(settingsBackend.writes, writes) << "nothing is stored at the close";
}

TEST_F(Form1Window, ClosingWhileInTheTrayAlsoTakesTheIconOut) {
    shownForm();
    minimise();

    view->close();

    EXPECT_FALSE(notifyArea.holdsIcon(iconWindow(), 0));
    EXPECT_FALSE(view->enabled);
}

TEST_F(Form1Window, BothStartUpOptionsOnStartInTheTrayWithoutShowingTheWindow) {
    store(Setting::WindowsStartup, "On");
    store(Setting::Minimized, "On");
    loadedForm();

    form->Show();
    EXPECT_FALSE(view->windowVisible);
    view->runWhatWasSoon();

    EXPECT_TRUE(isInTray());
    EXPECT_EQ(balloons().size(), 1u);
    clickIcon(code::LeftButtonUp);
    EXPECT_TRUE(isShownNormally());
    EXPECT_TRUE(view->isChecked(Control::Check4));
    EXPECT_TRUE(view->isChecked(Control::Check8));
}

TEST_F(Form1Window, AMinimisedStartWithoutANotificationAreaShowsTheWindowMinimised) {
    store(Setting::WindowsStartup, "On");
    store(Setting::Minimized, "On");
    notifyArea.available = false;
    shownForm();

    EXPECT_TRUE(view->windowVisible);
    EXPECT_EQ(view->state, commands::WindowState::Minimized);
    EXPECT_FALSE(form->MinimizedToTray);
    EXPECT_TRUE(balloons().empty());
}

TEST_F(Form1Window, AWindowMaximisedBeforeItWentComesBackNormal) {
    shownForm();
    view->state = commands::WindowState::Maximized;
    form->Form_Resize();

    minimise();
    ASSERT_TRUE(isInTray());
    clickIcon(code::LeftButtonUp);

    EXPECT_TRUE(isShownNormally());
    EXPECT_EQ(view->state, commands::WindowState::Normal);
}

// A close that comes while work lets events run ends the program there: nothing of the
// work goes on (the fake pump throws where the real program ends at once).
class Form1ClosingDuringWork : public Form1Window {
protected:
    Form1ClosingDuringWork() {
        for (const char* file : {"a.txt", "North/b.txt", "South/c.txt", "North/Deep/d.txt"}) {
            watched.writeFile(file, "x");
        }
        store(Setting::Text1, watched.string() + "/");
        store(Setting::OftenIndex, "1");
        shownForm();
    }

    // At the first pump once the condition holds: whatever else comes first, then the
    // close.
    void closeAtAPump(std::function<bool()> when, std::function<void()> before = {}) {
        events.onPump = [this, when, before] {
            if (!when()) {
                return;
            }
            auto* self = this;  // the lambda goes with the next line but one
            const auto first = before;
            events.onPump = nullptr;
            if (first) {
                first();
            }
            self->view->close();
        };
    }
    void closeAtTheFirstPump() {
        closeAtAPump([] { return true; });
    }

    void expectTheEnd(std::size_t boxesBeforeTheClose = 0) const {
        EXPECT_TRUE(events.ended);
        EXPECT_FALSE(view->ticking());
        EXPECT_FALSE(notifyArea.holdsIcon(iconWindow(), 0));
        EXPECT_EQ(dialogs.shown.size(), boxesBeforeTheClose);
    }

    std::string historyLog() const {
        return std::filesystem::exists(form->HistoryLogPath) ? ReadWholeFile(form->HistoryLogPath)
                                                             : std::string();
    }

    TemporaryFolder watched;
};

TEST_F(Form1ClosingDuringWork, ASnapshotStopsAndTheOneQueuedBehindItNeverStarts) {
    std::thread([] {}).join();  // a sanitizer's own thread comes with the first one
    const std::size_t threadsBefore = ThreadCount();
    // A snapshot shows its first row before it first lets events run in its walk.
    closeAtAPump([this] { return rows() > 0; }, [this] { view->click(Control::PushButton6); });

    EXPECT_THROW(form->Timer1_Timer(), fakes::ProgramEnded);

    expectTheEnd();
    EXPECT_EQ(historyLog(), "") << "the entry's lines were still being gathered";
    EXPECT_EQ(ThreadCount(), threadsBefore) << "the walk's helpers outlived the close";
}

TEST_F(Form1ClosingDuringWork, ACopyStopsWithTheClipboardUntouched) {
    watched.writeFile("big.log", std::string(3 << 20, 'x'));
    std::filesystem::copy_file(watched.path() / "big.log", form->HistoryLogPath);
    closeAtTheFirstPump();

    EXPECT_THROW(view->click(Control::PushButton2), fakes::ProgramEnded);

    expectTheEnd();
    EXPECT_TRUE(clipboard.puts.empty());
}

TEST_F(Form1ClosingDuringWork, ClearingStopsBeforeTheLogOrTheListGoes) {
    view->click(Control::PushButton6);
    const std::string log = historyLog();
    closeAtTheFirstPump();

    EXPECT_THROW(view->click(Control::PushButton12), fakes::ProgramEnded);

    expectTheEnd(1);  // the question that the Yes answered
    EXPECT_EQ(historyLog(), log);
    EXPECT_EQ(rows(), 6u);
}

}  // namespace
}  // namespace kestrava::testing
