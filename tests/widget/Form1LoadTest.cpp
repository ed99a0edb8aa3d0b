#include <QHeaderView>

#include "core/ErrorReport.h"
#include "core/LocationTags.h"
#include "platform/RuntimeError.h"
#include "widget/Form1Fixture.h"

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

    QString selectedInterval() const {
        const auto selected = form->ListView2->selectedItems();
        return selected.size() == 1 ? selected[0]->text(0) : QString();
    }

    using Writes = std::vector<fakes::RecordingSettingsBackend::Write>;
};

TEST_F(Form1Load, AFreshStoreGivesTheDefaultWindow) {
    auto& window = loadedForm();

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(window.windowTitle(), "Kestrava");
    EXPECT_EQ(window.AppTitle, "Kestrava");
    EXPECT_FALSE(window.IsLoading);
    ASSERT_EQ(window.ListView2->topLevelItemCount(), 12);
    EXPECT_EQ(window.ListView2->topLevelItem(0)->text(0), "Log every 1 second");
    EXPECT_EQ(window.ListView2->topLevelItem(11)->text(0), "Log every 24 hours");
    EXPECT_EQ(selectedInterval(), "Log every 1 hour");
    EXPECT_EQ(window.Text1->text(), "/home/ann/Desktop/");
    EXPECT_EQ(window.PushButton5->text(), "Turn Off Automatic Log");
    EXPECT_EQ(window.Frame1->title(), "Next log will occur in");
    EXPECT_EQ(window.Timer1->interval(), 1000);
    EXPECT_FALSE(window.Check4->isChecked());
    EXPECT_FALSE(window.Check8->isChecked());
    EXPECT_TRUE(window.Check8->isHidden());
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(window.HistoryLogPath, temporaryFolder.string() + "/Kestrava.txt");
    // Start-up's own change of the folder box is stored; nothing else is written.
    EXPECT_EQ(settingsBackend.writes, (Writes{{"Text1", "/home/ann/Desktop/"}}));
}

TEST_F(Form1Load, BuildsBothListsColumns) {
    auto& window = loadedForm();

    ASSERT_EQ(window.ListView2->columnCount(), 1);
    EXPECT_EQ(window.ListView2->headerItem()->text(0), "How often would you like to log files?");
    EXPECT_EQ(window.ListView2->columnWidth(0), 467);
    const auto* model = window.ListView1->model();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal), " Files Status");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal), " Size");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal), " Date Modified");
    EXPECT_EQ(window.ListView1->columnWidth(0), 200);
    EXPECT_EQ(window.ListView1->columnWidth(1), 133);
    EXPECT_EQ(window.ListView1->columnWidth(2), 133);
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(Form1Load, RestoresTheStoredIntervalFolderAndState) {
    store(Setting::OftenIndex, "2");
    store(Setting::Text1, "/srv/watched/");
    store(Setting::StartStopState, "Off");
    auto& window = loadedForm();

    EXPECT_EQ(selectedInterval(), "Log every 5 seconds");
    EXPECT_EQ(window.Text1->text(), "/srv/watched/");
    EXPECT_EQ(window.PushButton5->text(), "Turn On Automatic Log");
    EXPECT_EQ(window.Frame1->title(), "Automatic Log is Turned Off.");
    EXPECT_EQ(window.Timer1->interval(), 0);
    EXPECT_FALSE(window.Timer1->isTicking());
}

TEST_F(Form1Load, AStateThatIsNeitherOnNorOffLeavesTheDesign) {
    store(Setting::StartStopState, "on");
    auto& window = loadedForm();

    EXPECT_EQ(window.PushButton5->text(), "Turn On Automatic Logging");
    EXPECT_EQ(window.Frame1->title(), "Next log will occur in");
    EXPECT_EQ(window.Timer1->interval(), 0);
}

TEST_F(Form1Load, AnEmptyStoredFolderLeavesTheBoxEmptyAndUnstored) {
    store(Setting::Text1, "");
    auto& window = loadedForm();

    EXPECT_EQ(window.Text1->text(), "");
    EXPECT_TRUE(settingsBackend.writes.empty());
}

TEST_F(Form1Load, StartupOnMinimizedOffShowsTheSecondBoxClear) {
    store(Setting::WindowsStartup, "On");
    auto& window = loadedForm();

    EXPECT_TRUE(window.Check4->isChecked());
    EXPECT_FALSE(window.Check8->isHidden());
    EXPECT_FALSE(window.Check8->isChecked());
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(settingsBackend.writes == (Writes{{"Text1", "/home/ann/Desktop/"}}));
}

TEST_F(Form1Load, StartupOffMinimizedOnTicksTheHiddenBoxAndWritesItBack) {
    store(Setting::Minimized, "On");
    auto& window = loadedForm();

    EXPECT_FALSE(window.Check4->isChecked());
    EXPECT_TRUE(window.Check8->isChecked());
    EXPECT_TRUE(window.Check8->isHidden());
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(settingsBackend.writes,
              (Writes{{"Text1", "/home/ann/Desktop/"}, {"Minimized", "On"}}));
}

TEST_F(Form1Load, StartupAndMinimizedBothOnStartsMinimised) {
    store(Setting::WindowsStartup, "On");
    store(Setting::Minimized, "On");
    auto& window = loadedForm();

    EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(window.Check8->isHidden());
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
    EXPECT_EQ(window.Text1->text(), "");
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
