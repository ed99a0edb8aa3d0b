#include <array>

#include "app/ApplySkin.h"
#include "app/CursorFile.h"
#include "app/Form1.h"
#include "app/ProgramIcon.h"
#include "app/Twips.h"
#include "core/Conversions.h"
#include "core/LocationTags.h"
#include "core/Main.h"
#include "core/NameHelpers.h"
#include "core/PathText.h"
#include "core/Product.h"
#include "engine/LoggingCaptions.h"
#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"

namespace kestrava::app {
namespace {

using platform::ToQString;
using settings::Setting;

constexpr std::array<const char*, 12> IntervalCaptions{
    "Log every 1 second", "Log every 5 seconds", "Log every 10 seconds", "Log every 30 seconds",
    "Log every 1 minute", "Log every 5 minutes", "Log every 10 minutes", "Log every 30 minutes",
    "Log every 1 hour",   "Log every 6 hours",   "Log every 12 hours",   "Log every 24 hours",
};

struct ColumnDesign {
    const char* caption;
    int widthTwips;
};

constexpr std::array<ColumnDesign, 3> SnapshotListColumns{{
    {" Files Status", 3000},
    {" Size", 2000},
    {" Date Modified", 2000},
}};

}  // namespace

// Each step carries the number that its error report names; a failed step is
// reported and start-up goes on with the next one.
void Form1::Form_Load() {
    const core::StepTrap trap(errorReport_, core::location_tag::FormLoad);
    trap.run(100, [&] {
        ApplySkin(*this,
                  core::ProgramDataFile(services_.fileSystem, services_.environment, "x/o.cjs"));
    });
    trap.run(104, [&] { IsLoading = true; });
    trap.run(106, [&] { setWindowTitle(ToQString(core::ProductName)); });
    trap.run(106, [&] { setWindowIcon(ProgramIcon()); });
    trap.run(106, [&] { SetAppTitle(); });
    trap.run(108, [&] { VisitMakerSiteNowAndThen(); });
    trap.run(126, [&] { LoadHandCursor(trap); });
    trap.run(130, [&] {
        ListView2->setHeaderLabels({QStringLiteral("How often would you like to log files?")});
    });
    trap.run(132, [&] { ListView2->setColumnWidth(0, TwipsToPixels(7000)); });
    FillIntervalList(trap);
    AddSnapshotListColumns(trap);
    SelectStoredInterval(trap);
    trap.run(174, [&] {
        const std::string desktopDefault = core::DesktopFolderPath(services_.environment);
        Text1->setText(ToQString(settings_.read(Setting::Text1, desktopDefault)));
    });
    RestoreLoggingState(trap);
    trap.run(192, [&] { cSysTray1.TrayTip(std::string(core::ProductName)); });
    trap.run(192, [&] { setWindowIcon(ProgramIcon()); });
    trap.run(194, [&] { cSysTray1.InTray(true); });
    RestoreStartupOptions(trap);
    trap.run(208, [&] {
        const std::string logName =
            core::StripSpecialCharacters(core::DropTrailingWord(core::ProductName, "Software"));
        HistoryLogPath = TemporaryFolder() + core::PathSeparator + logName + ".txt";
    });
    trap.run(210, [&] { IsLoading = false; });
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
        trap.run(128, [&] { HandCursor = LoadCursorFile(cursorPath); });
    }
}

void Form1::FillIntervalList(const core::StepTrap& trap) {
    int step = 134;
    for (const char* caption : IntervalCaptions) {
        trap.run(step, [&] {
            ListView2->addTopLevelItem(new QTreeWidgetItem({QString::fromLatin1(caption)}));
        });
        step += 2;
    }
}

void Form1::AddSnapshotListColumns(const core::StepTrap& trap) {
    int step = 158;
    for (const ColumnDesign& column : SnapshotListColumns) {
        trap.run(step, [&] { snapshotList_.addColumn(QString::fromLatin1(column.caption)); });
        step += 2;
    }
    int index = 0;
    for (const ColumnDesign& column : SnapshotListColumns) {
        trap.run(step, [&] { ListView1->setColumnWidth(index, TwipsToPixels(column.widthTwips)); });
        step += 2;
        ++index;
    }
}

// Selecting in code raises no click, so nothing is stored and the count stays.
void Form1::SelectStoredInterval(const core::StepTrap& trap) {
    int position = 0;
    trap.run(170, [&] { position = core::ToInt16(settings_.read(Setting::OftenIndex)); });
    trap.run(172, [&] {
        QTreeWidgetItem* item = ListView2->topLevelItem(position - 1);
        if (position < 1 || item == nullptr) {
            throw platform::RuntimeError(platform::error_number::IndexOutOfBounds);
        }
        ListView2->setCurrentItem(item);
    });
}

void Form1::RestoreLoggingState(const core::StepTrap& trap) {
    std::string state;
    trap.run(176, [&] { state = settings_.read(Setting::StartStopState); });
    if (state == settings::Off) {
        trap.run(180, [&] { PushButton5->setText(ToQString(engine::caption::TurnOn)); });
        trap.run(182, [&] { Frame1->setTitle(ToQString(engine::caption::OffAtStartup)); });
        trap.run(184, [&] { Timer1->setInterval(0); });
    } else if (state == settings::On) {
        trap.run(188, [&] { PushButton5->setText(ToQString(engine::caption::TurnOff)); });
        trap.run(190, [&] { Timer1->setInterval(engine::TickMilliseconds); });
    }
}

// Restoring the boxes raises their click handling: Check4's does nothing while
// loading, Check8's writes "Minimized" back with the same meaning.
void Form1::RestoreStartupOptions(const core::StepTrap& trap) {
    trap.run(196,
             [&] { Check4->setChecked(settings_.read(Setting::WindowsStartup) == settings::On); });
    trap.run(198, [&] { Check8->setChecked(settings_.read(Setting::Minimized) == settings::On); });
    if (Check4->isChecked()) {
        trap.run(202, [&] { Check8->setVisible(true); });
        if (Check8->isChecked()) {
            trap.run(206, [&] { setWindowState(windowState() | Qt::WindowMinimized); });
        }
    } else {
        trap.run(208, [&] { Check8->setVisible(false); });
    }
}

// An unset "TEMP" must not put the log at the root of the file system, nor in a folder
// that every user of the machine shares and that may be emptied at boot.
std::string Form1::TemporaryFolder() {
    auto& environment = services_.environment;
    if (auto folder = environment.variable("TEMP")) {
        return *folder;
    }
    if (auto folder = environment.variable("TMPDIR")) {
        return *folder;
    }
    return environment.stateFolder(std::string(core::ProgramName));
}

}  // namespace kestrava::app
