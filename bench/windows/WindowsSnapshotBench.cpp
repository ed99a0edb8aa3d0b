// kestrava.exe's snapshot of a tree, in the real program under wine, next to
// `cmd /c dir /s /a-d` (every file, hidden ones too) of the same tree in the same run.
//
//   windows-snapshot-bench KESTRAVA_EXE TREE [RUNS]
//
// The program's settings must already name TREE as its folder, with logging off. Each
// run starts the program afresh, presses "Log Current Status Now (Test)" and times the
// press until the snapshot list holds the whole snapshot; meanwhile it asks the list
// for its row count every 10 ms, and the longest wait for an answer is the longest the
// window went frozen. A first run, not timed, learns how many rows a snapshot makes.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/Median.h"

namespace {

using kestrava::bench::Median;

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "windows-snapshot-bench: %s (error %lu)\n", what, ::GetLastError());
    std::exit(1);
}

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

PROCESS_INFORMATION Start(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        Fail("cannot start a program");
    }
    ::CloseHandle(process.hThread);
    return process;
}

void AwaitEnd(const PROCESS_INFORMATION& process, DWORD limitMs, const char* failure) {
    if (::WaitForSingleObject(process.hProcess, limitMs) != WAIT_OBJECT_0) {
        Fail(failure);
    }
    ::CloseHandle(process.hProcess);
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH + 1];
    if (::GetEnvironmentVariableW(L"TEMP", folder, MAX_PATH + 1) == 0) {
        Fail("no TEMP");
    }
    return std::wstring(folder) + L"\\" + name;
}

double TimeDir(const std::wstring& tree) {
    const auto started = Clock::now();
    // A slow machine under wine takes minutes for a large tree; the limit only keeps a
    // hung reference from hanging the bench.
    AwaitEnd(Start(L"cmd /c dir /s /a-d \"" + tree + L"\" > \"" + TempFile(L"dir.txt") + L"\""),
             600'000, "dir did not end within 10 minutes");
    return Seconds(Clock::now() - started);
}

// How many files dir listed, from its summary: the line after "Total files listed:".
long FilesDirListed() {
    std::ifstream listing(std::filesystem::path(TempFile(L"dir.txt")));
    std::string line;
    bool summary = false;
    while (std::getline(listing, line)) {
        if (summary) {
            return std::strtol(line.c_str(), nullptr, 10);
        }
        summary = line.find("Total files listed:") != std::string::npos ||
                  line.find("Total Files Listed:") != std::string::npos;
    }
    return -1;
}

// The program's window and the two controls the bench uses.
struct Window {
    HWND form = nullptr;
    HWND logNowButton = nullptr;
    HWND snapshotList = nullptr;  // the list view whose rows the program supplies
};

BOOL CALLBACK RememberControl(HWND control, LPARAM windowPointer) {
    auto& window = *reinterpret_cast<Window*>(windowPointer);
    wchar_t className[64] = {};
    wchar_t caption[64] = {};
    ::GetClassNameW(control, className, 64);
    ::GetWindowTextW(control, caption, 64);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    if (std::wstring(className) == WC_LISTVIEWW && (style & LVS_OWNERDATA) != 0) {
        window.snapshotList = control;
    } else if (std::wstring(caption) == L"Log Current Status Now (Test)") {
        window.logNowButton = control;
    }
    return TRUE;
}

Window AwaitWindow() {
    for (int attempt = 0; attempt < 300; ++attempt) {
        Window window;
        window.form = ::FindWindowW(L"KestravaForm1", L"Kestrava");
        if (window.form != nullptr && ::IsWindowVisible(window.form)) {
            ::EnumChildWindows(window.form, RememberControl, reinterpret_cast<LPARAM>(&window));
            if (window.logNowButton == nullptr || window.snapshotList == nullptr) {
                Fail("the window lacks its button or its snapshot list");
            }
            return window;
        }
        std::this_thread::sleep_for(100ms);
    }
    Fail("no window of kestrava.exe");
}

struct Snapshot {
    double seconds = 0;
    double longestStallMs = 0;
    int rows = 0;
};

// Presses the button and probes the list until it holds `rows` rows, or, for rows 0,
// until its count has stood still for two seconds.
Snapshot TimeSnapshot(const Window& window, int rows) {
    Snapshot snapshot;
    const auto started = Clock::now();
    auto lastChange = started;
    ::PostMessageW(window.logNowButton, BM_CLICK, 0, 0);
    for (;;) {
        const auto asked = Clock::now();
        DWORD_PTR count = 0;
        if (!::SendMessageTimeoutW(window.snapshotList, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60'000,
                                   &count)) {
            Fail("the window stopped answering");
        }
        const auto answered = Clock::now();
        snapshot.longestStallMs =
            std::max(snapshot.longestStallMs,
                     std::chrono::duration<double, std::milli>(answered - asked).count());
        if (static_cast<int>(count) != snapshot.rows) {
            snapshot.rows = static_cast<int>(count);
            lastChange = answered;
        }
        if (rows > 0 ? snapshot.rows >= rows : snapshot.rows > 0 && answered - lastChange > 2s) {
            snapshot.seconds = Seconds((rows > 0 ? answered : lastChange) - started);
            return snapshot;
        }
        std::this_thread::sleep_for(10ms);
    }
}

Snapshot RunProgram(const std::wstring& kestrava, int rows) {
    ::DeleteFileW(TempFile(L"Kestrava.txt").c_str());
    const PROCESS_INFORMATION process = Start(L"\"" + kestrava + L"\"");
    const Window window = AwaitWindow();
    std::this_thread::sleep_for(1s);  // start-up's own work is done
    const Snapshot snapshot = TimeSnapshot(window, rows);
    ::PostMessageW(window.form, WM_CLOSE, 0, 0);
    AwaitEnd(process, 60'000, "kestrava.exe did not end within a minute of its close");
    return snapshot;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: windows-snapshot-bench KESTRAVA_EXE TREE [RUNS]\n");
        return 2;
    }
    const std::wstring kestrava = argv[1];
    const std::wstring tree = argv[2];
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 5;

    const int rows = RunProgram(kestrava, 0).rows;
    TimeDir(tree);  // warms the cache for the reference as the first run did for the program
    std::vector<double> program;
    std::vector<double> reference;
    double longestStallMs = 0;
    for (int run = 0; run < runs; ++run) {
        const Snapshot snapshot = RunProgram(kestrava, rows);
        program.push_back(snapshot.seconds);
        longestStallMs = std::max(longestStallMs, snapshot.longestStallMs);
        reference.push_back(TimeDir(tree));
    }
    const double programMedian = Median(program);
    const double referenceMedian = Median(reference);
    std::printf(
        "snapshot under wine, median of %d runs (the program's list: %d rows, dir: %ld files)\n",
        runs, rows, FilesDirListed());
    std::printf("  kestrava.exe        %.3f s\n", programMedian);
    std::printf("  cmd /c dir /s /a-d  %.3f s\n", referenceMedian);
    std::printf("  ratio               %.2f\n", programMedian / referenceMedian);
    std::printf("  longest stall       %.1f ms (target: under 100 ms)\n", longestStallMs);
    return 0;
}
