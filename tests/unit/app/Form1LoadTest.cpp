#include "core/ErrorReport.h"
#include "core/LocationTags.h"
#include "platform/RuntimeError.h"
#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using settings::Setting;

class Form1Load : public Form1Fixture {
protected:
    std::vector<std::string> reportedErrors() const {
        std::vector<std::string> texts;
        for (const auto& box : dialogs.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    static std::string Report(int number, int step) {
        return core::ErrorReport::text(platform::RuntimeError(number), core::location_tag::FormLoad,
                                       step);
    }

    std::string selectedInterval() const {
        const auto row = view->selectedListRow(Control::ListView2);
        return row ? view->listRowText(Control::ListView2, *row) : std::string();
    }

    using Writes = std::vector<fakes::RecordingSettingsBackend::Write>;
};

TEST_F(Form1Load, AFreshStoreGivesTheDefaultWindow) {
    auto& window = loadedForm();

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(view->caption(Control::Form1), "Kestrava");
    EXPECT_EQ(view->programIconShown, 2);
    EXPECT_EQ(window.AppTitle, "Kestrava");
    EXPECT_FALSE(window.IsLoading);
    const auto& intervals = view->lists[Control::ListView2].rows;
    ASSERT_EQ(intervals.size(), 12u);
    EXPECT_EQ(intervals.front(), "Log every 1 second");
    EXPECT_EQ(intervals.back(), "Log every 24 hours");
    EXPECT_EQ(selectedInterval(), "Log every 1 hour");
    EXPECT_EQ(view->folder, "/home/ann/Desktop/");
    EXPECT_EQ(view->caption(Control::PushButton5), "Turn Off Automatic Log");
    EXPECT_EQ(view->caption(Control::Frame1), "Next log will occur in");
    EXPECT_EQ(view->interval, 1000);
    EXPECT_FALSE(view->isChecked(Control::Check4));
    EXPECT_FALSE(view->isChecked(Control::Check8));
    EXPECT_FALSE(view->isControlVisible(Control::Check8));
    EXPECT_EQ(view->state, commands::WindowState::Normal);
    EXPECT_EQ(window.HistoryLogPath, temporaryFolder.string() + "/Kestrava.txt");
    // Start-up's own change of the folder box is stored; nothing else is written.
    EXPECT_EQ(settingsBackend.writes, (Writes{{"Text1", "/home/ann/Desktop/"}}));
}

TEST_F(Form1Load, BuildsBothListsColumns) {
    auto& window = loadedForm();

    const auto& intervals = view->lists[Control::ListView2];
    EXPECT_EQ(intervals.columns,
              std::vector<std::string>{"How often would you like to log files?"});
    EXPECT_EQ(intervals.widthsTwips, std::vector<int>{7000});
    const auto& snapshots = view->lists[Control::ListView1];
    EXPECT_EQ(snapshots.columns,
              (std::vector<std::string>{" Files Status", " Size", " Date Modified"}));
    EXPECT_EQ(snapshots.widthsTwips, (std::vector<int>{3000, 2000, 2000}));
    EXPECT_EQ(view->snapshotRows, &window.snapshotRows());
    EXPECT_EQ(window.snapshotRows().rowCount(), 0u);
}

TEST_F(Form1Load, RestoresTheStoredIntervalFolderAndState) {
    store(Setting::OftenIndex, "2");
    store(Setting::Text1, "/srv/watched/");
    store(Setting::StartStopState, "Off");
    auto& window = loadedForm();

    EXPECT_EQ(selectedInterval(), "Log every 5 seconds");
    EXPECT_EQ(view->folder, "/srv/watched/");
    EXPECT_EQ(view->caption(Control::PushButton5), "Turn On Automatic Log");
    EXPECT_EQ(view->caption(Control::Frame1), "Automatic Log is Turned Off.");
    EXPECT_EQ(view->interval, 0);
    EXPECT_FALSE(view->ticking());
    EXPECT_FALSE(window.IsLoading);
}

TEST_F(Form1Load, AStateThatIsNeitherOnNorOffLeavesTheDesign) {
    store(Setting::StartStopState, "on");
    auto& window = loadedForm();

    EXPECT_EQ(view->caption(Control::PushButton5), "Turn On Automatic Logging");
    EXPECT_EQ(view->caption(Control::Frame1), "Next log will occur in");
    EXPECT_EQ(view->interval, 0);
    EXPECT_FALSE(window.IsLoading);
}

TEST_F(Form1Load, AnEmptyStoredFolderLeavesTheBoxEmptyAndUnstored) {
    store(Setting::Text1, "");
    auto& window = loadedForm();

    EXPECT_EQ(view->folder, "");
    EXPECT_TRUE(settingsBackend.writes.empty());
    EXPECT_FALSE(window.IsLoading);
}

TEST_F(Form1Load, StartupOnMinimizedOffShowsTheSecondBoxClear) {
    store(Setting::WindowsStartup, "On");
    auto& window = loadedForm();

    EXPECT_TRUE(view->isChecked(Control::Check4));
    EXPECT_TRUE(view->isControlVisible(Control::Check8));
    EXPECT_FALSE(view->isChecked(Control::Check8));
    EXPECT_EQ(view->state, commands::WindowState::Normal);
    EXPECT_TRUE(settingsBackend.writes == (Writes{{"Text1", "/home/ann/Desktop/"}}));
    EXPECT_FALSE(window.IsLoading);
}

TEST_F(Form1Load, StartupOffMinimizedOnTicksTheHiddenBoxAndWritesItBack) {
    store(Setting::Minimized, "On");
    auto& window = loadedForm();

    EXPECT_FALSE(view->isChecked(Control::Check4));
    EXPECT_TRUE(view->isChecked(Control::Check8));
    EXPECT_FALSE(view->isControlVisible(Control::Check8));
    EXPECT_EQ(view->state, commands::WindowState::Normal);
    EXPECT_FALSE(window.IsLoading);
    EXPECT_EQ(settingsBackend.writes,
              (Writes{{"Text1", "/home/ann/Desktop/"}, {"Minimized", "On"}}));
}

TEST_F(Form1Load, StartupAndMinimizedBothOnStartsMinimised) {
    store(Setting::WindowsStartup, "On");
    store(Setting::Minimized, "On");
    loadedForm();

    EXPECT_EQ(view->state, commands::WindowState::Minimized);
    EXPECT_TRUE(view->isControlVisible(Control::Check8));
}

TEST_F(Form1Load, AStoredIntervalThatCantBeReadIsReportedTwice) {
    for (const auto& [stored, failure] : {std::pair{"hourly", 13}, std::pair{"40000", 6}}) {
        dialogs.shown.clear();
        store(Setting::OftenIndex, stored);
        loadedForm();
        EXPECT_EQ(reportedErrors(),
                  (std::vector<std::string>{Report(failure, 170), Report(35600, 172)}));
        EXPECT_EQ(selectedInterval(), "") << stored;
    }
}

TEST_F(Form1Load, AStoredIntervalOutsideTheListIsReportedOnce) {
    for (const char* stored : {"0", "13", "-2"}) {
        dialogs.shown.clear();
        store(Setting::OftenIndex, stored);
        loadedForm();
        EXPECT_EQ(reportedErrors(), (std::vector<std::string>{Report(35600, 172)})) << stored;
        EXPECT_EQ(selectedInterval(), "") << stored;
    }
}

TEST_F(Form1Load, ADesktopThatCantBeNamedLeavesTheFolderBoxEmpty) {
    environment.desktopFolderPath.clear();
    store(Setting::Text1, "/srv/watched/");
    auto& window = loadedForm();

    EXPECT_EQ(reportedErrors(), (std::vector<std::string>{Report(5, 174)}));
    EXPECT_EQ(view->folder, "");
    EXPECT_FALSE(window.IsLoading);
}

TEST_F(Form1Load, TheHistoryLogLiesInTempThenTmpdirThenTheUsersOwnStateFolder) {
    environment.variables["TEMP"] = "/work/tmp";
    environment.variables["TMPDIR"] = "/run/user/tmp";
    EXPECT_EQ(loadedForm().HistoryLogPath, "/work/tmp/Kestrava.txt");

    environment.variables["TEMP"] = "";
    EXPECT_EQ(loadedForm().HistoryLogPath, "/run/user/tmp/Kestrava.txt");

    environment.variables.clear();
    environment.stateFolderPath = "/home/ann/.local/state/kestrava";
    EXPECT_EQ(loadedForm().HistoryLogPath, "/home/ann/.local/state/kestrava/Kestrava.txt");
    EXPECT_EQ(environment.stateFolderNames, std::vector<std::string>{"kestrava"});
}

TEST_F(Form1Load, OneStartInAHundredVisitsTheMakersSite) {
    clock.secondsAfterMidnight = 4242.25;
    clock.randomFraction = 0.06;  // n = 7
    loadedForm();
    EXPECT_EQ(clock.seeds, (std::vector<double>{4242.25}));
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://www.velquist.com/"}));

    for (const double fraction : {0.0, 0.0599, 0.07, 0.9999}) {
        shell.opened.clear();
        clock.randomFraction = fraction;
        loadedForm();
        EXPECT_TRUE(shell.opened.empty()) << fraction;
    }
}

}  // namespace
}  // namespace kestrava::testing
