// The window's responsiveness and speed while it takes snapshots, in the real window,
// offscreen or (with --on-display) on the X display that DISPLAY names.
//
//   window-bench [--on-display] ROOT SMALL_ROOT WORKDIR [RUNS]
//       "Log Current Status Now (Test)" pressed RUNS (5) times on a tree, interleaved
//       with the engine's own snapshot of the same tree without a window and the
//       reference TZ=UTC find -printf: the medians and their ratios to find; the
//       longest time the event loop went without running (a 10 ms probe timer); and
//       the resident memory the first press kept per row of the list.
//   window-bench [--on-display] --every-second ROOT WORKDIR [SECONDS]
//       "Log every 1 second" for SECONDS (60): the longest stall, and the resident
//       memory's growth next to what the rows themselves cost.
#include <malloc.h>
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
#include "bench/Reference.h"
#include "bench/StallProbe.h"
#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"
#include "platform/FreeMemory.h"
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
    return bench::StatusKilobytes("VmRSS:");
}

// What the allocator has handed out, over all its arenas, and what it holds free.
struct Heap {
    double inUse;
    double free;
};

Heap HeapNow() {
    const struct mallinfo2 info = mallinfo2();
    return {static_cast<double>(info.uordblks + info.hblkhd), static_cast<double>(info.fordblks)};
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

// Presses the button once and gives the time the press took.
double PressLogNow(ui::qt::QtForm1View& view) {
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(view.widget(app::Control::PushButton6), Qt::LeftButton);
    return ElapsedMs(timer);
}

int ManualSnapshots(const std::string& root, const std::string& small, const std::string& work,
                    int runs) {
    PrepareStart(small, work, "9", "Off");
    ui::qt::RealServices real;
    ui::qt::QtForm1View view;
    app::Form1 form(view, real.services);
    view.attach(form);
    form.Form_Load();
    form.Show();
    const std::string referenceLog = work + "/engine-only.txt";
    const std::string findOutput = work + "/find.txt";

    // A press on a small tree warms the window's own code up; the memory the first
    // press on the large tree keeps is then what its rows cost.
    PressLogNow(view);
    form.snapshotRows().clear();
    view.setFolderText(root + "/");
    EngineOnlyMs(real, root, referenceLog);  // warm the caches and the code
    bench::TimeFind(root, findOutput);

    bench::StallProbe probe;
    std::vector<double> windowTimes;
    std::vector<double> engineTimes;
    std::vector<double> findTimes;
    double longestStall = 0;
    double bytesPerRow = 0;
    Heap heapPerRow{};
    std::size_t rows = 0;
    for (int run = 0; run < runs; ++run) {
        form.snapshotRows().clear();
        std::remove(form.HistoryLogPath.c_str());
        // What earlier walks left free in the allocator goes back first, as the
        // window's snapshot gives it back at its end: the growth is then the rows'.
        platform::GiveBackFreeMemory();
        const long before = ResidentKilobytes();
        const Heap heapBefore = HeapNow();
        probe.start();
        windowTimes.push_back(PressLogNow(view));
        longestStall = std::max(longestStall, probe.stop());
        rows = form.snapshotRows().rowCount();
        if (run == 0) {
            const double perRow = 1.0 / static_cast<double>(std::max<std::size_t>(rows, 1));
            bytesPerRow = static_cast<double>(ResidentKilobytes() - before) * 1024.0 * perRow;
            const Heap heapAfter = HeapNow();
            heapPerRow = {(heapAfter.inUse - heapBefore.inUse) * perRow,
                          (heapAfter.free - heapBefore.free) * perRow};
        }
        engineTimes.push_back(EngineOnlyMs(real, root, referenceLog));
        findTimes.push_back(bench::TimeFind(root, findOutput) * 1000.0);
    }
    const double windowMedian = Median(windowTimes);
    const double engineMedian = Median(engineTimes);
    const double findMedian = Median(findTimes);
    std::printf("rows in the window: %zu\n", rows);
    std::printf("TZ=UTC find -printf, median of %d: %8.1f ms\n", runs, findMedian);
    std::printf(
        "engine alone,        median of %d: %8.1f ms  (%.2f x find; target: at most 0.40)\n", runs,
        engineMedian, engineMedian / findMedian);
    std::printf(
        "window,              median of %d: %8.1f ms  (%.2f x find; target: at most 0.45; "
        "%.2f x the engine)\n",
        runs, windowMedian, windowMedian / findMedian, windowMedian / engineMedian);
    std::printf("longest stall of the event loop:  %8.1f ms  (target: at most 16 ms)\n",
                longestStall);
    std::printf("resident memory kept per row:     %8.0f bytes (target: at most 64)\n",
                bytesPerRow);
    std::printf("  the allocator's, per row:       %8.0f bytes in use, %.0f bytes held free\n",
                heapPerRow.inUse, heapPerRow.free);
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
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool onDisplay = !args.empty() && args.front() == "--on-display";
    if (onDisplay) {
        args.erase(args.begin());
    }
    qputenv("QT_QPA_PLATFORM", onDisplay ? "xcb" : "offscreen");
    QApplication application(argc, argv);
    std::printf("the window %s\n", onDisplay ? "on the X display" : "offscreen");
    const auto count = [&](std::size_t index, int otherwise) {
        return args.size() > index ? std::stoi(args[index]) : otherwise;
    };
    if (!args.empty() && args.front() == "--every-second") {
        if (args.size() < 3) {
            std::fprintf(stderr, "usage: %s [--on-display] --every-second ROOT WORKDIR [SECONDS]\n",
                         argv[0]);
            return EXIT_FAILURE;
        }
        return EverySecond(args[1], args[2], count(3, 60));
    }
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s [--on-display] ROOT SMALL_ROOT WORKDIR [RUNS]\n", argv[0]);
        return EXIT_FAILURE;
    }
    return ManualSnapshots(args[0], args[1], args[2], count(3, 5));
}
