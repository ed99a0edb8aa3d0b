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
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Median.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    double seconds;
    long peakKilobytes;
};

// Runs a program to its end, with its output into a file (and LC_ALL=C, as sort and comm
// are timed with it), and measures it.
Run RunProgram(std::vector<std::string> arguments, const std::string& output) {
    std::vector<std::string> environment{"LC_ALL=C"};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::strncmp(*variable, "LC_ALL=", 7) != 0) {
            environment.emplace_back(*variable);
        }
    }
    std::vector<char*> environmentPointers;
    for (std::string& variable : environment) {
        environmentPointers.push_back(variable.data());
    }
    environmentPointers.push_back(nullptr);
    std::vector<char*> argumentPointers;
    for (std::string& argument : arguments) {
        argumentPointers.push_back(argument.data());
    }
    argumentPointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argumentPointers[0], &actions, nullptr, argumentPointers.data(),
                     environmentPointers.data()) != 0) {
        std::perror(argumentPointers[0]);
        std::exit(EXIT_FAILURE);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    // diff ends with 1 when something changed.
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        std::fprintf(stderr, "%s failed\n", argumentPointers[0]);
        std::exit(EXIT_FAILURE);
    }
    return {seconds, usage.ru_maxrss};
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
        const Run measured = ours();
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
