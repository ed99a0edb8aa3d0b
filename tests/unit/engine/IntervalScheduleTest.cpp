#include "engine/IntervalSchedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/ErrorReport.h"
#include "core/LocationTags.h"
#include "core/PathText.h"
#include "engine/IntervalTable.h"
#include "engine/LoggingControls.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeLoggingWindow.h"
#include "support/NativeSeams.h"
#include "support/NativeSettings.h"
#include "support/TemporaryFolder.h"

namespace kestrava::engine {
namespace {

using Journal = std::vector<std::string>;

// The schedule over the real snapshot of an empty folder. Its walk lets events run once,
// which is written to the window's journal as "snapshot", and where a test can act as a
// click during the snapshot would. (Such a snapshot shows its date row when its walk
// begins and its separator when it ends: while it runs, the list holds an odd number of
// rows.)
class Schedule : public ::testing::Test {
protected:
    Schedule() {
        events.onPump = [this] {
            if (rows.rowCount() % 2 == 1 && rows.rowCount() > rowsNoted) {
                rowsNoted = rows.rowCount();
                window.journal.push_back("snapshot");
                if (duringSnapshot) {
                    duringSnapshot();
                }
            }
        };
    }

    void tick() { Timer1_Timer(window, count, snapshots, job, events, trap); }

    int snapshotsTaken() const {
        const std::string log = testing::ReadWholeFile(job.historyLogPath);
        return static_cast<int>(std::count(log.begin(), log.end(), '['));
    }

    fakes::FakeLoggingWindow window;
    ScheduleCount count;
    fakes::FakeEventPump events;
    fakes::FakeDialogs dialogs;
    fakes::FakeClock clock;
    core::ErrorReport report{dialogs};
    core::StepTrap trap{report, core::location_tag::Timer1};
    testing::TemporaryFolder watched;
    testing::TemporaryFolder temporary;
    testing::NativeSeams native;
    SnapshotTools tools{native.fileSystem(), events, clock, native.englishLocale(), dialogs};
    SnapshotRows rows{tools};
    SnapshotRunner snapshots{tools};
    SnapshotJob job{core::WithTrailingSeparator(watched.string()),
                    (temporary.path() / "Kestrava.txt").string(), rows};
    std::size_t rowsNoted = 0;
    std::function<void()> duringSnapshot;
};

TEST(IntervalSecondsOf, KnowsEveryIntervalOfTheList) {
    const std::vector<std::int32_t> expected{1,   5,    10,   30,    60,    300,
                                             600, 1800, 3600, 21600, 43200, 86400};
    for (std::size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(IntervalSecondsOf(Intervals[row].caption), expected[row]);
    }
    EXPECT_EQ(IntervalSecondsOf("Log every 2 seconds"), 0);
    EXPECT_EQ(IntervalSecondsOf("log every 1 second"), 0);
}

TEST_F(Schedule, FiveSecondsCountDownThenSnapshotOnTheFifthTick) {
    window.select("Log every 5 seconds");
    std::vector<std::string> captions;
    std::vector<int> values;
    for (int second = 1; second <= 6; ++second) {
        tick();
        captions.push_back(window.statusLine);
        values.push_back(window.progressValue);
    }

    EXPECT_EQ(captions,
              (Journal{"Next log will occur in 00:00:04", "Next log will occur in 00:00:03",
                       "Next log will occur in 00:00:02", "Next log will occur in 00:00:01",
                       "Next log will occur in 00:00:00", "Next log will occur in 00:00:04"}));
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3, 4, 0, 1}));
    EXPECT_EQ(snapshotsTaken(), 1);
    EXPECT_EQ(window.progressMaximum, 5);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Schedule, TheTimerStandsStillAroundTheSnapshot) {
    window.select("Log every 1 second");
    window.journal.clear();
    tick();

    EXPECT_EQ(window.journal,
              (Journal{"progress 1", "status Next log will occur in 00:00:00", "interval 0",
                       "disabled", "snapshot", "progress 0", "interval 1000", "enabled"}));
}

// The tick came while another snapshot ran: the timer waits for the snapshot it asked
// for, so that one click can't start a chain of snapshots without end.
TEST_F(Schedule, TheTimerWaitsForAScheduledSnapshotThatFollowsAnother) {
    window.select("Log every 1 second");
    bool timerStoodStillAfterTheTick = false;
    duringSnapshot = [&] {
        duringSnapshot = nullptr;
        tick();  // the tick comes during a snapshot that a click asked for
        timerStoodStillAfterTheTick = !window.timerEnabled && window.interval == 0;
    };
    window.journal.clear();

    snapshots.requestSnapshot(job);

    EXPECT_TRUE(timerStoodStillAfterTheTick);
    EXPECT_EQ(
        window.journal,
        (Journal{"snapshot", "progress 1", "status Next log will occur in 00:00:00", "interval 0",
                 "disabled", "snapshot", "progress 0", "interval 1000", "enabled"}));
    EXPECT_EQ(count.ElapsedSeconds, 0);
    EXPECT_EQ(snapshotsTaken(), 2);
}

TEST_F(Schedule, TwentyFourHoursShowsOneSecondLessAtTheFirstTick) {
    window.select("Log every 24 hours");
    tick();
    EXPECT_EQ(window.statusLine, "Next log will occur in 23:59:59");
}

TEST_F(Schedule, AStrayTickOnlySaysLoggingIsOff) {
    window.interval = 0;
    count.ElapsedSeconds = 7;
    tick();

    EXPECT_EQ(window.journal, (Journal{"status Automatic Log is Off."}));
    EXPECT_EQ(count.ElapsedSeconds, 7);
}

TEST_F(Schedule, SwitchingOffDuringTheSnapshotHolds) {
    testing::NativeSettings nativeSettings;
    settings::SettingsStore settings(nativeSettings.backend());
    window.select("Log every 1 second");
    duringSnapshot = [&] { ToggleAutomaticLogging(window, settings, trap); };
    tick();

    EXPECT_EQ(window.interval, 0);
    EXPECT_TRUE(window.timerEnabled);  // switching on again starts it
    EXPECT_EQ(window.switchText, "Turn On Automatic Log");
    EXPECT_EQ(settings.read(settings::Setting::StartStopState), "Off");
}

TEST_F(Schedule, ACountBeyondAShorterIntervalTakesTheSnapshot) {
    window.select("Log every 30 seconds");
    for (int second = 0; second < 12; ++second) {
        tick();
    }
    window.select("Log every 10 seconds");
    tick();

    EXPECT_EQ(snapshotsTaken(), 1);
    EXPECT_EQ(count.ElapsedSeconds, 0);
}

TEST_F(Schedule, AMissingIntervalIsReportedOnceAndNothingIsCounted) {
    window.selectedRow.reset();
    tick();
    tick();
    tick();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              core::ErrorReport::text(platform::RuntimeError(91), core::location_tag::Timer1, 102));
    EXPECT_EQ(count.ElapsedSeconds, 0);

    window.select("Log every 5 seconds");
    tick();
    window.selectedRow.reset();
    tick();
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(Schedule, ATickDuringATickIsSkipped) {
    window.select("Log every 1 minute");
    events.onPump = [&] { tick(); };
    tick();

    EXPECT_EQ(count.ElapsedSeconds, 1);
}

class LoggingControls : public Schedule {
protected:
    testing::NativeSettings nativeSettings;
    settings::SettingsStore settings{nativeSettings.backend()};
};

TEST_F(LoggingControls, TheSwitchTurnsLoggingOffAndOnAndStoresTheState) {
    ToggleAutomaticLogging(window, settings, trap);
    EXPECT_EQ(window.switchText, "Turn On Automatic Log");
    EXPECT_EQ(window.interval, 0);
    EXPECT_EQ(window.statusLine, "Automatic Log is Off.");
    EXPECT_EQ(settings.read(settings::Setting::StartStopState), "Off");

    ToggleAutomaticLogging(window, settings, trap);
    EXPECT_EQ(window.switchText, "Turn Off Automatic Log");
    EXPECT_EQ(window.interval, 1000);
    EXPECT_EQ(settings.read(settings::Setting::StartStopState), "On");
}

TEST_F(LoggingControls, OffAndOnAgainResumesTheCount) {
    window.select("Log every 1 minute");
    for (int second = 0; second < 20; ++second) {
        tick();
    }
    ToggleAutomaticLogging(window, settings, trap);
    tick();  // a stray tick changes nothing but the status line
    ToggleAutomaticLogging(window, settings, trap);
    tick();

    EXPECT_EQ(count.ElapsedSeconds, 21);
    EXPECT_EQ(window.statusLine, "Next log will occur in 00:00:39");
}

TEST_F(LoggingControls, TheDesignCaptionCountsAsOff) {
    window.switchText = "Turn On Automatic Logging";
    window.interval = 0;
    ToggleAutomaticLogging(window, settings, trap);

    EXPECT_EQ(window.journal, (Journal{"switch Turn Off Automatic Log", "interval 1000"}));
    EXPECT_EQ(settings.read(settings::Setting::StartStopState), "On");
}

TEST_F(LoggingControls, LogNowThatMustFollowAnotherSnapshotStaysBusyUntilItsOwnIsTaken) {
    duringSnapshot = [&] {
        duringSnapshot = nullptr;
        LogCurrentStatusNow(window, snapshots, job, events, trap);  // returns at once
    };
    snapshots.requestSnapshot(job);

    EXPECT_EQ(window.journal, (Journal{"snapshot", "busy", "snapshot", "not busy", "progress 0",
                                       "progress text Progress Bar"}));
}

TEST_F(LoggingControls, LogNowShowsTheBusyPointerAroundTheSnapshotAndResetsTheBar) {
    window.progressValue = 3;
    LogCurrentStatusNow(window, snapshots, job, events, trap);

    EXPECT_GE(events.pumps, 2);  // before the snapshot, and at least once in its walk
    EXPECT_EQ(window.journal, (Journal{"busy", "snapshot", "not busy", "progress 0",
                                       "progress text Progress Bar"}));
}

TEST_F(LoggingControls, ChoosingAnIntervalStoresItAndRestartsTheCount) {
    window.select("Log every 1 minute");
    count.ElapsedSeconds = 42;
    ChooseInterval(window, count, settings);
    EXPECT_EQ(settings.read(settings::Setting::OftenIndex), "5");
    EXPECT_EQ(count.ElapsedSeconds, 0);
    EXPECT_EQ(count.TotalSeconds, 60);

    count.ElapsedSeconds = 9;
    ChooseInterval(window, count, settings);  // the same row again still counts afresh
    EXPECT_EQ(count.ElapsedSeconds, 0);

    tick();
    EXPECT_EQ(window.statusLine, "Next log will occur in 00:00:59");
}

TEST_F(LoggingControls, AClickLeavingNoRowSelectedChangesNothing) {
    window.selectedRow.reset();
    count.ElapsedSeconds = 9;
    ChooseInterval(window, count, settings);

    EXPECT_EQ(count.ElapsedSeconds, 9);
    EXPECT_EQ(settings.read(settings::Setting::OftenIndex), "9");
}

}  // namespace
}  // namespace kestrava::engine
