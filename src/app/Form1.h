#pragma once

#include <cstdint>
#include <string>

#include "app/Form1Design.h"
#include "app/Form1View.h"
#include "commands/HoverRule.h"
#include "core/ErrorReport.h"
#include "core/StepTrap.h"
#include "engine/IntervalSave.h"
#include "engine/IntervalSchedule.h"
#include "engine/LoggingWindow.h"
#include "engine/SnapshotRows.h"
#include "engine/SnapshotRunner.h"
#include "platform/Services.h"
#include "settings/SettingsStore.h"
#include "tray/cSysTray.h"

namespace kestrava::app {

// The main window as the program knows it, whatever toolkit shows it: its window-wide
// state, its start-up and every handler. It reaches its controls through the view,
// which calls the handlers when the user acts. A handler reads its controls and hands
// the work to the routine of its layer.
class Form1 : private engine::LoggingWindow {
public:
    // Applies the design to the view's controls; the view calls the handlers once the
    // caller has attached it to this window.
    Form1(Form1View& view, platform::Services& services);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Start-up: builds the lists and restores the window from the settings store.
    void Form_Load();

    // Shows the window as start-up left it: normally, or, minimised, straight into the
    // tray once the event loop runs.
    void Show();

    // Window-wide state.
    bool IsLoading = false;
    std::string HistoryLogPath;      // fixed at start-up
    std::string AppTitle;            // the caption of every message box but the error report
    engine::ScheduleCount Schedule;  // ElapsedSeconds and TotalSeconds of the countdown
    bool MinimizedToTray = false;    // hidden in the tray by a minimise
    tray::cSysTray cSysTray1;

    // The window's mouse-pointer setting: the arrow, the hourglass or the custom hand.
    commands::MousePointer mousePointer() const { return mousePointer_; }

    // The rows that the snapshot list, ListView1, shows.
    engine::SnapshotRows& snapshotRows() { return snapshotRows_; }

    // Event handlers, called by the view.
    void Timer1_Timer();
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void PushButton11_Click();
    void PushButton12_Click();
    void ListView2_Click();
    void Text1_Change();
    void Check4_Click();
    void Check8_Click();
    void Form_Resize();
    void cSysTray1_MouseUp(std::int16_t button, std::int32_t iconId);
    void Form_QueryUnload();
    void Form_Unload();
    // The mouse moved over a control (or the window's own surface).
    void MouseMove(Control over);

private:
    void ApplyDesign();
    void SetMousePointer(commands::MousePointer pointer);
    engine::SnapshotJob SnapshotOfTheFolderBox();

    // Start-up steps that are more than one statement.
    void ApplySkin();
    void SetAppTitle();
    void VisitMakerSiteNowAndThen();
    void LoadHandCursor(const core::StepTrap& trap);
    void FillIntervalList(const core::StepTrap& trap);
    void AddSnapshotListColumns(const core::StepTrap& trap);
    void SelectStoredInterval(const core::StepTrap& trap);
    void RestoreLoggingState(const core::StepTrap& trap);
    void RestoreStartupOptions(const core::StepTrap& trap);

    // Automatic logging drives these controls (engine::LoggingWindow).
    std::string switchCaption() const override;
    void setSwitchCaption(const std::string& caption) override;
    int timerInterval() const override;
    void setTimerInterval(int milliseconds) override;
    void setTimerEnabled(bool enabled) override;
    void setStatusLine(const std::string& caption) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setProgressText(const std::string& text) override;
    std::optional<int> selectedIntervalRow() const override;
    std::optional<std::string> selectedIntervalCaption() const override;
    void showBusyPointer(bool busy) override;

    Form1View& view_;
    platform::Services& services_;
    settings::SettingsStore settings_;
    core::ErrorReport errorReport_;
    engine::SnapshotTools snapshotTools_;
    engine::SnapshotRows snapshotRows_;
    engine::SnapshotRunner snapshots_;
    commands::MousePointer mousePointer_ = commands::MousePointer::Default;
    int busyRequests_ = 0;  // manual snapshots asked for and not yet taken
};

}  // namespace kestrava::app
