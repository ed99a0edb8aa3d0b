#pragma once

// What the benchmarks measure against and with: the reference find(1), and the
// process's own memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace kestrava::bench {

inline double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// How a program run to its end went: its time, its peak resident memory and its exit
// status.
struct TimedRun {
    double seconds;
    long peakKilobytes;
    int status;
};

// Runs a program to its end, with the environment variable set ("NAME=value") and its
// output into a file, and measures it.
inline TimedRun RunTimed(std::vector<std::string> arguments, const std::string& setting,
                         const std::string& output) {
    const std::string name = setting.substr(0, setting.find('=') + 1);
    std::vector<std::string> environment{setting};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::strncmp(*variable, name.c_str(), name.size()) != 0) {
            environment.emplace_back(*variable);
        }
    }
    std::vector<char*> environmentPointers;
    for (auto& variable : environment) {
        environmentPointers.push_back(variable.data());
    }
    environmentPointers.push_back(nullptr);
    std::vector<char*> argumentPointers;
    for (auto& argument : arguments) {
        argumentPointers.push_back(argument.data());
    }
    argumentPointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argumentPointers[0], &actions, nullptr, argumentPointers.data(),
                     environmentPointers.data()) != 0) {
        std::perror(argumentPointers[0]);
        std::exit(EXIT_FAILURE);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    posix_spawn_file_actions_destroy(&actions);
    return {seconds, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// TZ=UTC find ROOT -type f -printf '%p|%s|%TY-%Tm-%Td %TH:%TM:%TS\n' > OUTPUT
inline double TimeFind(const std::string& root, const std::string& output) {
    const TimedRun run =
        RunTimed({"find", root, "-type", "f", "-printf", "%p|%s|%TY-%Tm-%Td %TH:%TM:%TS\\n"},
                 "TZ=UTC", output);
    if (run.status != 0) {
        std::fprintf(stderr, "find failed\n");
        std::exit(EXIT_FAILURE);
    }
    return run.seconds;
}

inline long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) {
            return std::strtol(line.c_str() + length, nullptr, 10);
        }
    }
    return -1;
}

}  // namespace kestrava::bench
