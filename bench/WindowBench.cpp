// The window's responsiveness while it takes snapshots, in the real window (offscreen).
//
//   window-bench ROOT WORKDIR [RUNS]
//       "Log Current Status Now (Test)" pressed RUNS (5) times on a tree: the longest
//       time the event loop went without running (a 10 ms probe timer), and the median
//       snapshot time next to the engine's own snapshot of the same tree without a
//       window, interleaved in the same run.
//   window-bench --every-second ROOT WORKDIR [SECONDS]
//       "Log every 1 second" for SECONDS (60): the longest stall, and the resident
//       memory's growth next to what the rows themselves cost.
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "bench/Median.h"
#include "bench/StallProbe.h"
#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"
#include "platform/qt/QtText.h"
#include "ui/qt/QtForm1View.h"
#include "ui/qt/RealServices.h"

namespace {

using namespace kestrava;
using bench::Median;

double ElapsedMs(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// The settings and the history log go to the work folder; the window starts with
// logging off and the tree in its folder box.
void PrepareStart(const std::string& root, const std::string& work, const char* interval,
                  const char* state) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(work));
    QSettings settings(QSettings::UserScope, QStringLiteral("Velquist"));
    settings.setValue("Kestrava/Text1", platform::ToQString(root + "/"));
    settings.setValue("Kestrava/OftenIndex", interval);
    settings.setValue("Kestrava/StartStopState", state);
    qputenv("TEMP", QByteArray::fromStdString(work));
}

double EngineOnlyMs(ui::qt::RealServices& real, const std::string& root, const std::string& log) {
    engine::SnapshotTools tools(real.fileSystem, real.events, real.clock, real.locale,
                                real.dialogs);
    engine::SnapshotRows rows(tools);
    std::remove(log.c_str());
    QElapsedTimer timer;
    timer.start();
    engine::LogFilesNow(root + "/", log, rows, tools);
    return ElapsedMs(timer);
}

int ManualSnapshots(const std::string& root, const std::string& work, int runs) {
    PrepareStart(root, work, "9", "Off");
    ui::qt::RealServices real;
    ui::qt::QtForm1View view;
    app::Form1 form(view, real.services);
    view.attach(form);
    form.Form_Load();
    form.Show();
    const std::string referenceLog = work + "/engine-only.txt";

    bench::StallProbe probe;
    std::vector<double> windowTimes;
    std::vector<double> engineTimes;
    double longestStall = 0;
    EngineOnlyMs(real, root, referenceLog);  // warm the caches and the code
    for (int run = 0; run < runs; ++run) {
        form.snapshotRows().clear();
        std::remove(form.HistoryLogPath.c_str());
        QElapsedTimer timer;
        probe.start();
        timer.start();
        QTest::mouseClick(view.widget(app::Control::PushButton6), Qt::LeftButton);
        windowTimes.push_back(ElapsedMs(timer));
        longestStall = std::max(longestStall, probe.stop());
        engineTimes.push_back(EngineOnlyMs(real, root, referenceLog));
    }
    const double windowMedian = Median(windowTimes);
    const double engineMedian = Median(engineTimes);
    std::printf("rows in the window: %zu\n", form.snapshotRows().rowCount());
    std::printf("engine-only snapshot, median of %d: %8.1f ms\n", runs, engineMedian);
    std::printf(
        "window snapshot,      median of %d: %8.1f ms  (%.2f x the engine; target: at most 1.3)\n",
        runs, windowMedian, windowMedian / engineMedian);
    std::printf("longest stall of the event loop:  %8.1f ms  (target: under 100 ms)\n",
                longestStall);
    return EXIT_SUCCESS;
}

int EverySecond(const std::string& root, const std::string& work, int seconds) {
    PrepareStart(root, work, "1", "On");
    ui::qt::RealServices real;
    ui::qt::QtForm1View view;
    app::Form1 form(view, real.services);
    view.attach(form);
    form.Form_Load();
    form.Show();

    // What the rows cost on their own, measured the same way: thirty snapshots into a
    // store of their own, after one that warms everything up.
    engine::SnapshotTools tools(real.fileSystem, real.events, real.clock, real.locale,
                                real.dialogs);
    const std::string rowsOnlyLog = work + "/rows-only.txt";
    engine::SnapshotRows warmUp(tools);
    engine::LogFilesNow(root + "/", rowsOnlyLog, warmUp, tools);
    const long beforeRows = ResidentKilobytes();
    engine::SnapshotRows rows(tools);
    for (int snapshot = 0; snapshot < 30; ++snapshot) {
        engine::LogFilesNow(root + "/", rowsOnlyLog, rows, tools);
    }
    const double rowBytes = (ResidentKilobytes() - beforeRows) * 1024.0 /
                            static_cast<double>(std::max<std::size_t>(rows.rowCount(), 1));

    // The first seconds warm everything up; the count starts after them.
    QTest::qWait(5000);
    const long startKilobytes = ResidentKilobytes();
    const auto startRows = static_cast<int>(form.snapshotRows().rowCount());
    bench::StallProbe probe;
    probe.start();
    QTest::qWait(seconds * 1000);
    const double longestStall = probe.stop();
    const long grownKilobytes = ResidentKilobytes() - startKilobytes;
    const int addedRows = static_cast<int>(form.snapshotRows().rowCount()) - startRows;

    std::printf("%d s of \"Log every 1 second\": %d rows added\n", seconds, addedRows);
    std::printf("longest stall of the event loop: %.1f ms (target: under 100 ms)\n", longestStall);
    std::printf(
        "resident memory grew %.1f MB: %.0f bytes per added row, where a row alone costs "
        "%.0f bytes\n",
        grownKilobytes / 1024.0, grownKilobytes * 1024.0 / std::max(addedRows, 1), rowBytes);
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool everySecond = argc > 1 && std::strcmp(argv[1], "--every-second") == 0;
    const int first = everySecond ? 2 : 1;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: %s [--every-second] ROOT WORKDIR [RUNS or SECONDS]\n",
                     argv[0]);
        return EXIT_FAILURE;
    }
    const std::string root = argv[first];
    const std::string work = argv[first + 1];
    const int count = argc > first + 2 ? std::atoi(argv[first + 2]) : (everySecond ? 60 : 5);
    return everySecond ? EverySecond(root, work, count) : ManualSnapshots(root, work, count);
}
