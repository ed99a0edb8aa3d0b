// Times the engine's snapshot of a folder tree against find(1) doing the same system
// calls, and measures the memory that the snapshot list's rows take.
//
//   snapshot-bench ROOT WORKDIR [RUNS]    medians of RUNS (5) runs of each, interleaved
//   snapshot-bench --memory ROOT WORKDIR  one snapshot in a fresh process: resident
//                                         memory before, at its peak, and after
//
// No display is needed: events are pumped by the real pump over a QCoreApplication.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "bench/Reference.h"
#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtLocale.h"

namespace {

using namespace kestrava;
using bench::Median;
using bench::Seconds;
using bench::StatusKilobytes;
using bench::TimeFind;
using Clock = std::chrono::steady_clock;

// Error reports go to the terminal: a benchmark that reports errors measures nothing.
class TerminalDialogs : public platform::Dialogs {
public:
    platform::MessageAnswer showMessage(const platform::MessageBoxRequest& request) override {
        std::fprintf(stderr, "error report: %s\n", request.text.c_str());
        ++reports;
        return platform::MessageAnswer::Ok;
    }
    std::string chooseFolder(const std::string&, const std::string&) override { return {}; }
    int reports = 0;
};

struct Engine {
    platform::PosixFileSystem fileSystem;
    platform::QtEventPump events;
    platform::SystemClock clock;
    platform::QtLocale locale;
    TerminalDialogs dialogs;
    engine::SnapshotTools tools{fileSystem, events, clock, locale, dialogs};
};

double TimeEngine(Engine& engine, const std::string& root, const std::string& log,
                  std::size_t* rows = nullptr) {
    std::remove(log.c_str());
    engine::SnapshotRows store(engine.tools);
    const auto start = Clock::now();
    engine::LogFilesNow(root, log, store, engine.tools);
    const double seconds = Seconds(Clock::now() - start);
    if (rows != nullptr) {
        *rows = store.rowCount();
    }
    return seconds;
}

std::size_t CountLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>(), '\n'));
}

int Timing(const std::string& root, const std::string& work, int runs) {
    Engine engine;
    const std::string log = work + "/history.txt";
    const std::string findOutput = work + "/find.txt";
    TimeEngine(engine, root, log);  // warm the caches and the code
    TimeFind(root, findOutput);
    std::vector<double> engineTimes;
    std::vector<double> findTimes;
    for (int run = 0; run < runs; ++run) {
        engineTimes.push_back(TimeEngine(engine, root, log));
        findTimes.push_back(TimeFind(root, findOutput));
    }
    const double engineMedian = Median(engineTimes);
    const double findMedian = Median(findTimes);
    std::printf("history log: %zu lines; find: %zu lines\n", CountLines(log),
                CountLines(findOutput));
    std::printf("engine snapshot, median of %d: %.3f s\n", runs, engineMedian);
    std::printf("find -printf,    median of %d: %.3f s\n", runs, findMedian);
    std::printf("ratio engine / find: %.2f (target: at most 0.80)\n", engineMedian / findMedian);
    return engine.dialogs.reports == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}

int Memory(const std::string& root, const std::string& work) {
    Engine engine;
    const std::string log = work + "/history-memory.txt";
    std::remove(log.c_str());
    engine::SnapshotRows store(engine.tools);
    std::ofstream("/proc/self/clear_refs") << "5";  // restart the peak from here
    const long baseline = StatusKilobytes("VmRSS:");
    engine::LogFilesNow(root, log, store, engine.tools);
    const long peak = StatusKilobytes("VmHWM:");
    const long held = StatusKilobytes("VmRSS:");
    std::printf("rows held: %zu\n", store.rowCount());
    std::printf(
        "resident memory: baseline %.1f MB, peak %.1f MB above it, %.1f MB above it "
        "with the rows held (target: at most 25 MB)\n",
        baseline / 1024.0, (peak - baseline) / 1024.0, (held - baseline) / 1024.0);
    return engine.dialogs.reports == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const bool memory = argc > 1 && std::strcmp(argv[1], "--memory") == 0;
    const int first = memory ? 2 : 1;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: %s [--memory] ROOT WORKDIR [RUNS]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const std::string root = argv[first];
    const std::string work = argv[first + 1];
    if (memory) {
        return Memory(root, work);
    }
    return Timing(root, work, argc > first + 2 ? std::atoi(argv[first + 2]) : 5);
}
