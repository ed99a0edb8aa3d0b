#include <algorithm>

#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using settings::Setting;

class Form1Logging : public Form1Fixture {
protected:
    Form1Logging() {
        watched.writeFile("notes.txt", "notes");
        watched.writeFile("Archive/old.zip", "zip");
        store(Setting::Text1, watched.string() + "/");
    }

    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            form->Timer1_Timer();
        }
    }

    void click(Control control) { view->click(control); }
    void clickInterval(int row) { view->clickInterval(row); }

    // Runs the action at the first pump, as a click that comes while work runs would.
    void onceDuringWork(std::function<void()> action) {
        events.onPump = [&pump = events, action] {
            const auto run = action;  // the next line destroys this lambda
            pump.onPump = nullptr;
            run();
        };
    }

    // A snapshot shows its first row before it first lets events run in its walk.
    bool walkHasBegun() const { return rows() > 0; }
    bool isBusy() const { return view->pointer == commands::MousePointer::Hourglass; }
    int entriesInLog() const {
        const std::string log = ReadWholeFile(form->HistoryLogPath);
        int entries = 0;
        for (std::size_t at = log.find('['); at != std::string::npos;
             at = log.find("\n[", at + 1)) {
            ++entries;
        }
        return entries;
    }

    TemporaryFolder watched;
};

TEST_F(Form1Logging, FiveSecondsCountDownAndTheFifthTickTakesTheSnapshot) {
    store(Setting::OftenIndex, "2");
    loadedForm();
    std::vector<std::string> captions;
    for (int second = 1; second <= 5; ++second) {
        tick();
        captions.push_back(status());
        if (second < 5) {
            EXPECT_EQ(view->progressValue, second);
        }
    }

    EXPECT_EQ(captions.front(), "Next log will occur in 00:00:04");
    EXPECT_EQ(captions.back(), "Next log will occur in 00:00:00");
    EXPECT_EQ(view->progressMaximum, 5);
    EXPECT_EQ(view->progressValue, 0);
    EXPECT_EQ(rows(), 4u);  // date-and-time row, two files, separator
    EXPECT_EQ(entriesInLog(), 1);
    EXPECT_TRUE(view->ticking());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1Logging, TwentyFourHoursStartsAtOneSecondLess) {
    store(Setting::OftenIndex, "12");
    loadedForm();
    tick();

    EXPECT_EQ(status(), "Next log will occur in 23:59:59");
    EXPECT_EQ(view->progressMaximum, 86400);
}

TEST_F(Form1Logging, ClickingAnIntervalStoresItAndCountsAfresh) {
    loadedForm();
    tick(7);
    clickInterval(5);  // "Log every 1 minute"
    EXPECT_EQ(stored(Setting::OftenIndex), "5");
    tick();
    EXPECT_EQ(status(), "Next log will occur in 00:00:59");

    tick(3);
    store(Setting::OftenIndex, "9");
    clickInterval(5);  // the row already selected counts as a choice too
    EXPECT_EQ(stored(Setting::OftenIndex), "5");
    EXPECT_EQ(form->Schedule.ElapsedSeconds, 0);
}

TEST_F(Form1Logging, OffAndOnAgainResumesTheCount) {
    store(Setting::OftenIndex, "5");
    loadedForm();
    tick(20);
    click(Control::PushButton5);

    EXPECT_EQ(view->caption(Control::PushButton5), "Turn On Automatic Log");
    EXPECT_EQ(status(), "Automatic Log is Off.");
    EXPECT_FALSE(view->ticking());
    EXPECT_EQ(stored(Setting::StartStopState), "Off");

    click(Control::PushButton5);
    EXPECT_TRUE(view->ticking());
    EXPECT_EQ(stored(Setting::StartStopState), "On");
    tick();
    EXPECT_EQ(status(), "Next log will occur in 00:00:39");
}

TEST_F(Form1Logging, LogNowWithLoggingOffTakesASnapshotAndStaysOff) {
    store(Setting::StartStopState, "Off");
    loadedForm();
    bool busyDuringWalk = false;
    events.onPump = [&] { busyDuringWalk |= isBusy(); };
    view->progressValue = 3;
    click(Control::PushButton6);

    EXPECT_TRUE(busyDuringWalk);
    EXPECT_FALSE(isBusy());
    EXPECT_EQ(rows(), 4u);
    EXPECT_EQ(view->caption(Control::PushButton5), "Turn On Automatic Log");
    EXPECT_FALSE(view->ticking());
    EXPECT_EQ(view->progressValue, 0);
    EXPECT_EQ(view->progressText, "Progress Bar");
}

TEST_F(Form1Logging, LogNowWithLoggingOnLeavesTheCountdownRunning) {
    store(Setting::OftenIndex, "5");
    loadedForm();
    tick(10);
    click(Control::PushButton6);

    EXPECT_EQ(form->Schedule.ElapsedSeconds, 10);
    EXPECT_TRUE(view->ticking());
    tick();
    EXPECT_EQ(status(), "Next log will occur in 00:00:49");
}

TEST_F(Form1Logging, EveryKeystrokeInTheFolderBoxIsStored) {
    loadedForm();
    view->setFolderText("");
    settingsBackend.writes.clear();
    view->type("/srv");

    std::vector<std::string> values;
    for (const auto& write : settingsBackend.writes) {
        EXPECT_EQ(write.key, "Text1");
        values.push_back(write.value);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"/", "/s", "/sr", "/srv"}));
}

TEST_F(Form1Logging, SwitchingOffDuringAScheduledSnapshotHolds) {
    store(Setting::OftenIndex, "1");
    loadedForm();
    onceDuringWork([&] { click(Control::PushButton5); });
    tick();

    EXPECT_EQ(entriesInLog(), 1);
    EXPECT_EQ(view->interval, 0);
    EXPECT_FALSE(view->ticking());
    EXPECT_EQ(view->caption(Control::PushButton5), "Turn On Automatic Log");

    click(Control::PushButton5);
    EXPECT_TRUE(view->ticking());
}

TEST_F(Form1Logging, LogNowDuringAScheduledSnapshotFollowsIt) {
    store(Setting::OftenIndex, "1");
    loadedForm();
    onceDuringWork([&] { click(Control::PushButton6); });
    tick();

    const std::string log = ReadWholeFile(form->HistoryLogPath);
    EXPECT_EQ(entriesInLog(), 2);
    // Two whole entries, one after the other: each header is followed by its own files.
    const auto second = log.find("\r\n[");
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(log.substr(0, second).find("notes.txt"), std::string::npos);
    EXPECT_NE(log.substr(second).find("old.zip"), std::string::npos);
    EXPECT_EQ(rows(), 8u);
    EXPECT_FALSE(isBusy());
}

// "Log every 1 second" on a tree whose snapshot takes longer than a second: the timer
// fires during every snapshot that lets it. One click must still end.
TEST_F(Form1Logging, ALogNowSlowerThanTheIntervalEndsAfterTheSnapshotsItCalledFor) {
    store(Setting::OftenIndex, "1");
    loadedForm();
    int ticks = 0;
    events.onPump = [&] {
        // Once the click's snapshot runs, a timer that runs fires.
        if (walkHasBegun() && view->ticking() && ticks < 50) {
            ++ticks;
            tick();
        }
    };
    click(Control::PushButton6);

    EXPECT_EQ(entriesInLog(), 2) << "the click's own snapshot, then the scheduled one";
    EXPECT_FALSE(isBusy());
    EXPECT_EQ(view->progressText, "Progress Bar");
    EXPECT_TRUE(view->ticking()) << "the schedule goes on once its snapshot is taken";
    EXPECT_EQ(form->Schedule.ElapsedSeconds, 0);
}

TEST_F(Form1Logging, LogNowDuringAScheduledSnapshotKeepsTheBusyPointerUntilItsOwnSnapshot) {
    store(Setting::OftenIndex, "1");
    loadedForm();
    bool clicked = false;
    std::vector<bool> busyOnceTheFirstEntryIsWritten;
    events.onPump = [&] {
        if (!clicked && walkHasBegun()) {
            clicked = true;
            click(Control::PushButton6);  // returns at once: its snapshot follows this one
        } else if (clicked && entriesInLog() == 1) {
            busyOnceTheFirstEntryIsWritten.push_back(isBusy());
        }
    };
    tick();

    EXPECT_EQ(entriesInLog(), 2);
    ASSERT_FALSE(busyOnceTheFirstEntryIsWritten.empty());
    EXPECT_EQ(std::count(busyOnceTheFirstEntryIsWritten.begin(),
                         busyOnceTheFirstEntryIsWritten.end(), false),
              0);
    EXPECT_FALSE(isBusy());
}

// A stored state that is neither "On" nor "Off" leaves the switch's first caption.
TEST_F(Form1Logging, TheSwitchsFirstCaptionTurnsLoggingOn) {
    store(Setting::StartStopState, "on");
    loadedForm();
    ASSERT_EQ(view->caption(Control::PushButton5), "Turn On Automatic Logging");
    ASSERT_FALSE(view->ticking());

    click(Control::PushButton5);

    EXPECT_EQ(view->caption(Control::PushButton5), "Turn Off Automatic Log");
    EXPECT_TRUE(view->ticking());
    EXPECT_EQ(stored(Setting::StartStopState), "On");
}

}  // namespace
}  // namespace kestrava::testing
