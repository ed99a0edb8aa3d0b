// kestrava.exe's snapshot of a tree, in the real program under wine, next to a
// reference walk of the same tree in the same run: one thread that makes the calls the
// program's walk makes (FindFirstFileExW over each folder, then the openable-file open
// of each file) and writes a line per file.
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

constexpr DWORD HiddenSystemFolder =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The walk as one thread makes it: breadth-first, each folder listed with
// FindFirstFileExW as the program lists it, each file opened for no access as the
// program opens it to see that it can be, and a line per file to a file in %TEMP%.
// Gives the time and the number of files it found.
std::pair<double, long> TimeReferenceWalk(const std::wstring& tree) {
    const auto started = Clock::now();
    std::ofstream lines(std::filesystem::path(TempFile(L"reference.txt")), std::ios::binary);
    std::vector<std::wstring> folders{tree};
    long files = 0;
    for (std::size_t next = 0; next < folders.size(); ++next) {
        const std::wstring folder = folders[next];
        WIN32_FIND_DATAW entry{};
        const HANDLE search =
            ::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &entry,
                               FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE) {
            continue;
        }
        do {
            const std::wstring name = entry.cFileName;
            const std::wstring path = folder + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                if (name != L"." && name != L".." &&
                    (entry.dwFileAttributes & HiddenSystemFolder) != HiddenSystemFolder) {
                    folders.push_back(path + L"\\");
                }
                continue;
            }
            const HANDLE file = ::CreateFileW(
                path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                continue;
            }
            ::CloseHandle(file);
            ++files;
            lines << std::filesystem::path(path).string() << '|' << entry.nFileSizeLow << "\r\n";
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    return {Seconds(Clock::now() - started), files};
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
    // Warms the cache for the reference as the first run did for the program.
    const long files = TimeReferenceWalk(tree).second;
    std::vector<double> program;
    std::vector<double> reference;
    double longestStallMs = 0;
    for (int run = 0; run < runs; ++run) {
        const Snapshot snapshot = RunProgram(kestrava, rows);
        program.push_back(snapshot.seconds);
        longestStallMs = std::max(longestStallMs, snapshot.longestStallMs);
        reference.push_back(TimeReferenceWalk(tree).first);
    }
    const double programMedian = Median(program);
    const double referenceMedian = Median(reference);
    std::printf(
        "snapshot under wine, median of %d runs (the program's list: %d rows, the reference "
        "walk: %ld files)\n",
        runs, rows, files);
    std::printf("  kestrava.exe                     %.3f s\n", programMedian);
    std::printf("  reference walk, one thread       %.3f s\n", referenceMedian);
    std::printf("  ratio                            %.2f\n", programMedian / referenceMedian);
    std::printf("  longest stall                    %.1f ms (target: at most 50 ms)\n",
                longestStallMs);
    return 0;
}
