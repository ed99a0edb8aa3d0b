#include "app/Form1.h"
#include "core/Conversions.h"
#include "core/HistoryLogPath.h"
#include "core/LocationTags.h"
#include "core/Main.h"
#include "core/NameHelpers.h"
#include "core/PathText.h"
#include "core/Product.h"
#include "engine/IntervalTable.h"
#include "engine/ListFiles.h"
#include "engine/LoggingCaptions.h"
#include "platform/RuntimeError.h"

namespace kestrava::app {
namespace {

using settings::Setting;

struct ColumnDesign {
    const char* caption;
    int widthTwips;
};

constexpr std::array<ColumnDesign, 3> SnapshotListColumns{{
    {" Files Status", 3000},
    {" Size", 2000},
    {" Date Modified", 2000},
}};

// The controls that take the button-face colour under a skin: the window, its frames
// and its check boxes.
bool TakesButtonFace(ControlKind kind) {
    return kind == ControlKind::Window || kind == ControlKind::Frame ||
           kind == ControlKind::CheckBox;
}

}  // namespace

// Each step carries the number that its error report names; a failed step is
// reported and start-up goes on with the next one.
void Form1::Form_Load() {
    const core::StepTrap trap(errorReport_, core::location_tag::FormLoad);
    trap.run(100, [&] { ApplySkin(); });
    trap.run(104, [&] { IsLoading = true; });
    trap.run(106, [&] { view_.setCaption(Control::Form1, std::string(core::ProductName)); });
    trap.run(106, [&] { view_.showProgramIcon(); });
    trap.run(106, [&] { SetAppTitle(); });
    trap.run(108, [&] { VisitMakerSiteNowAndThen(); });
    trap.run(126, [&] { LoadHandCursor(trap); });
    trap.run(130, [&] {
        view_.addListColumn(Control::ListView2, "How often would you like to log files?");
    });
    trap.run(132, [&] { view_.setListColumnWidth(Control::ListView2, 0, 7000); });
    FillIntervalList(trap);
    AddSnapshotListColumns(trap);
    SelectStoredInterval(trap);
    trap.run(174, [&] {
        const std::string desktopDefault = core::DesktopFolderPath(services_.environment);
        view_.setFolderText(settings_.read(Setting::Text1, desktopDefault));
    });
    RestoreLoggingState(trap);
    trap.run(192, [&] { cSysTray1.TrayTip(std::string(core::ProductName)); });
    trap.run(192, [&] { view_.showProgramIcon(); });
    trap.run(194, [&] { cSysTray1.InTray(true); });
    RestoreStartupOptions(trap);
    trap.run(208, [&] { HistoryLogPath = core::HistoryLogPath(services_.environment); });
    trap.run(210, [&] { IsLoading = false; });
}

// Without the skin file the window keeps its plain look. A failure leaves the look half
// applied, as far as it got.
void Form1::ApplySkin() {
    const std::string skin =
        core::ProgramDataFile(services_.fileSystem, services_.environment,
                              std::string("x") + core::PathSeparator + "o.cjs");
    if (!engine::IsOpenableFile(services_.fileSystem, skin)) {
        return;
    }
    for (const ControlDesign& design : Form1Controls) {
        if (TakesButtonFace(design.kind)) {
            view_.paintButtonFace(design.control);
        }
    }
    view_.applySkin(skin);
}

void Form1::SetAppTitle() {
    AppTitle = core::AppTitleFor(core::ProductName);
}

// About one start in a hundred opens the maker's web site.
void Form1::VisitMakerSiteNowAndThen() {
    auto& clock = services_.clock;
    const double fraction = clock.seededRandomFraction(clock.secondsSinceMidnight());
    const int draw = static_cast<int>(fraction * 100) + 1;
    if (draw == 7) {
        services_.shell.openAddress(std::string(core::MakerSiteAddress));
    }
}

void Form1::LoadHandCursor(const core::StepTrap& trap) {
    const std::string cursorPath =
        core::ProgramDataFile(services_.fileSystem, services_.environment, "HAND-M.CUR");
    if (core::FileExists(services_.fileSystem, cursorPath)) {
        trap.run(128, [&] { view_.loadHandCursor(cursorPath); });
    }
}

void Form1::FillIntervalList(const core::StepTrap& trap) {
    int step = 134;
    for (const engine::Interval& interval : engine::Intervals) {
        trap.run(step,
                 [&] { view_.addListRow(Control::ListView2, std::string(interval.caption)); });
        step += 2;
    }
}

void Form1::AddSnapshotListColumns(const core::StepTrap& trap) {
    int step = 158;
    for (const ColumnDesign& column : SnapshotListColumns) {
        trap.run(step, [&] { view_.addListColumn(Control::ListView1, column.caption); });
        step += 2;
    }
    int index = 0;
    for (const ColumnDesign& column : SnapshotListColumns) {
        trap.run(step,
                 [&] { view_.setListColumnWidth(Control::ListView1, index, column.widthTwips); });
        step += 2;
        ++index;
    }
}

// Selecting in code raises no click, so nothing is stored and the count stays.
void Form1::SelectStoredInterval(const core::StepTrap& trap) {
    int position = 0;
    trap.run(170, [&] { position = core::ToInt16(settings_.read(Setting::OftenIndex)); });
    trap.run(172, [&] {
        if (position < 1 || position > view_.listRowCount(Control::ListView2)) {
            throw platform::RuntimeError(platform::error_number::IndexOutOfBounds);
        }
        view_.selectListRow(Control::ListView2, position);
    });
}

void Form1::RestoreLoggingState(const core::StepTrap& trap) {
    std::string state;
    trap.run(176, [&] { state = settings_.read(Setting::StartStopState); });
    if (state == settings::Off) {
        trap.run(180, [&] { setSwitchCaption(std::string(engine::caption::TurnOn)); });
        trap.run(182, [&] { setStatusLine(std::string(engine::caption::OffAtStartup)); });
        trap.run(184, [&] { view_.setTimerInterval(0); });
    } else if (state == settings::On) {
        trap.run(188, [&] { setSwitchCaption(std::string(engine::caption::TurnOff)); });
        trap.run(190, [&] { view_.setTimerInterval(engine::TickMilliseconds); });
    }
}

// Restoring the boxes raises their click handling: Check4's does nothing while
// loading, Check8's writes "Minimized" back with the same meaning.
void Form1::RestoreStartupOptions(const core::StepTrap& trap) {
    trap.run(196, [&] {
        view_.setChecked(Control::Check4, settings_.read(Setting::WindowsStartup) == settings::On);
    });
    trap.run(198, [&] {
        view_.setChecked(Control::Check8, settings_.read(Setting::Minimized) == settings::On);
    });
    if (view_.isChecked(Control::Check4)) {
        trap.run(202, [&] { view_.setControlVisible(Control::Check8, true); });
        if (view_.isChecked(Control::Check8)) {
            trap.run(206, [&] { view_.setWindowState(commands::WindowState::Minimized); });
        }
    } else {
        trap.run(208, [&] { view_.setControlVisible(Control::Check8, false); });
    }
}

}  // namespace kestrava::app
