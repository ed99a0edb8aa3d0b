// Times kestrava-log against the standard tools doing the same job on the same log, and
// measures its peak memory.
//
//   log-bench diff KESTRAVA_LOG LOG WORKDIR [RUNS]
//       `kestrava-log diff` of the log's last two entries, against `LC_ALL=C sort` of
//       the two entries (cut out beforehand into WORKDIR/before.txt and after.txt) and
//       `comm -3` of the sorted files
//   log-bench entries KESTRAVA_LOG LOG WORKDIR [RUNS]
//       `kestrava-log entries` (with its change counts) against `wc -l` of the log
//
// Each runs once to warm the cache, then RUNS (5) times, interleaved; the medians and
// their ratio are printed, with kestrava-log's largest resident memory.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "bench/Reference.h"

namespace {

namespace bench = kestrava::bench;

// Runs a program to its end, with its output into a file (and LC_ALL=C, as sort and comm
// are timed with it), and measures it.
bench::TimedRun RunProgram(std::vector<std::string> arguments, const std::string& output) {
    const std::string program = arguments.front();
    const bench::TimedRun run = bench::RunTimed(std::move(arguments), "LC_ALL=C", output);
    // diff ends with 1 when something changed.
    if (run.status < 0 || run.status > 1) {
        std::fprintf(stderr, "%s failed\n", program.c_str());
        std::exit(EXIT_FAILURE);
    }
    return run;
}

struct Comparison {
    std::vector<double> ours;
    std::vector<double> reference;
    long peakKilobytes = 0;
};

template <typename Ours, typename Reference>
Comparison Compare(int runs, Ours ours, Reference reference) {
    ours();
    reference();
    Comparison comparison;
    for (int run = 0; run < runs; ++run) {
        const bench::TimedRun measured = ours();
        comparison.ours.push_back(measured.seconds);
        comparison.peakKilobytes = std::max(comparison.peakKilobytes, measured.peakKilobytes);
        comparison.reference.push_back(reference());
    }
    return comparison;
}

void Report(const Comparison& comparison, const char* ours, const char* reference, double target) {
    const double oursMedian = kestrava::bench::Median(comparison.ours);
    const double referenceMedian = kestrava::bench::Median(comparison.reference);
    const int runs = static_cast<int>(comparison.ours.size());
    std::printf("%-28s median of %d: %.3f s\n", ours, runs, oursMedian);
    std::printf("%-28s median of %d: %.3f s\n", reference, runs, referenceMedian);
    std::printf("ratio: %.2f (target: at most %.1f)\n", oursMedian / referenceMedian, target);
    std::printf("kestrava-log's peak resident memory: %.1f MB\n",
                static_cast<double>(comparison.peakKilobytes) / 1024);
}

int Diff(const std::string& program, const std::string& log, const std::string& work, int runs) {
    const Comparison comparison = Compare(
        runs,
        [&] {
            return RunProgram({program, "--log", log, "diff"}, work + "/diff.txt");
        },
        [&] {
            double seconds = 0;
            for (const char* entry : {"before", "after"}) {
                seconds += RunProgram({"sort", work + "/" + entry + ".txt"},
                                      work + "/" + entry + ".sorted")
                               .seconds;
            }
            return seconds +
                   RunProgram({"comm", "-3", work + "/before.sorted", work + "/after.sorted"},
                              work + "/comm.txt")
                       .seconds;
        });
    Report(comparison, "kestrava-log diff", "sort, sort, comm -3", 0.5);
    return EXIT_SUCCESS;
}

int Entries(const std::string& program, const std::string& log, const std::string& work, int runs) {
    const Comparison comparison = Compare(
        runs,
        [&] {
            return RunProgram({program, "--log", log, "entries"}, work + "/entries.txt");
        },
        [&] {
            return RunProgram({"wc", "-l", log}, work + "/wc.txt").seconds;
        });
    Report(comparison, "kestrava-log entries", "wc -l", 4.0);
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5 || (std::strcmp(argv[1], "diff") != 0 && std::strcmp(argv[1], "entries") != 0)) {
        std::fprintf(stderr, "usage: %s diff|entries KESTRAVA_LOG LOG WORKDIR [RUNS]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const int runs = argc > 5 ? std::atoi(argv[5]) : 5;
    return std::strcmp(argv[1], "diff") == 0 ? Diff(argv[2], argv[3], argv[4], runs)
                                             : Entries(argv[2], argv[3], argv[4], runs);
}
