#pragma once

#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "app/FormLoggingWindow.h"
#include "app/IntervalList.h"
#include "app/IntervalTimer.h"
#include "app/SnapshotListModel.h"
#include "commands/HoverRule.h"
#include "core/ErrorReport.h"
#include "core/StepTrap.h"
#include "engine/IntervalSave.h"
#include "engine/IntervalSchedule.h"
#include "engine/SnapshotRunner.h"
#include "platform/Services.h"
#include "settings/SettingsStore.h"
#include "tray/cSysTray.h"

namespace kestrava::app {

// The main window: its controls, its window-wide state and its event handlers.
// Each handler reads its controls and hands the work to the routine of its layer.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(platform::Services& services, QWidget* parent = nullptr);

    // Start-up: builds the lists and restores the window from the settings store.
    void Form_Load();

    // Shows the window as start-up left it: normally, or minimised, which puts it
    // straight into the tray.
    void showAfterLoad();

    // Window-wide state.
    bool IsLoading = false;
    std::string HistoryLogPath;  // fixed at start-up
    std::string AppTitle;        // the caption of every message box but the error report
    std::optional<QCursor> HandCursor;
    engine::ScheduleCount Schedule;  // ElapsedSeconds and TotalSeconds of the countdown
    bool MinimizedToTray = false;    // hidden in the tray by a minimise

    // The controls, named as the design names them.
    QGroupBox* Frame1;
    QProgressBar* ProgressBar1;
    QGroupBox* Frame3;
    QLineEdit* Text1;
    QPushButton* PushButton3;
    QTableView* ListView1;
    IntervalList* ListView2;
    QGroupBox* Frame2;
    QCheckBox* Check4;
    QCheckBox* Check8;
    QPushButton* PushButton5;
    QPushButton* PushButton6;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton11;
    QPushButton* PushButton12;
    IntervalTimer* Timer1;
    tray::cSysTray cSysTray1;

    SnapshotListModel& snapshotList() { return snapshotList_; }

    // Takes a snapshot of the folder in Text1 into ListView1 and the history log, or,
    // when one is running already (this call came from an event inside it), has it
    // followed by another and returns at once; the result says which. afterwards runs
    // once this request's snapshot has been taken.
    engine::SnapshotRequest LogFilesNow(engine::AfterSnapshot afterwards = {}) {
        return snapshots_.requestSnapshot(std::move(afterwards));
    }

    // The pointer over the window: the arrow, the hourglass or the hand cursor.
    commands::MousePointer mousePointer() const { return mousePointer_; }
    void setMousePointer(commands::MousePointer pointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void watchHovering();

    // Start-up steps that are more than one statement.
    void SetAppTitle();
    void VisitMakerSiteNowAndThen();
    void LoadHandCursor(const core::StepTrap& trap);
    void FillIntervalList(const core::StepTrap& trap);
    void AddSnapshotListColumns(const core::StepTrap& trap);
    void SelectStoredInterval(const core::StepTrap& trap);
    void RestoreLoggingState(const core::StepTrap& trap);
    void RestoreStartupOptions(const core::StepTrap& trap);
    std::string TemporaryFolder();

    // Event handlers.
    void Timer1_Timer();
    void PushButton5_Click();
    void PushButton6_Click();
    void ListView2_Click();
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton11_Click();
    void PushButton12_Click();
    void Text1_Change();
    void Check8_Click();

    // The window lifecycle (Form1_Window.cpp) and start at logon (Form1_StartAtLogon.cpp).
    void Form_Resize();
    void cSysTray1_MouseUp(std::int16_t button, std::int32_t iconId);
    void Form_QueryUnload();
    void Form_Unload();
    void Check4_Click();

    platform::Services& services_;
    settings::SettingsStore settings_;
    core::ErrorReport errorReport_;
    SnapshotListModel snapshotList_;
    FormLoggingWindow loggingWindow_{*this};
    commands::MousePointer mousePointer_ = commands::MousePointer::Default;
    QHash<QObject*, commands::MousePointer> hoverPointers_;
    engine::SnapshotTools snapshotTools_;
    engine::SnapshotRunner snapshots_;
};

}  // namespace kestrava::app
