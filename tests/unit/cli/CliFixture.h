#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Dispatch.h"
#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/FakeEventPump.h"
#include "support/NativePaths.h"
#include "support/NativeSeams.h"
#include "support/TemporaryFolder.h"

namespace kestrava::testing {

inline constexpr std::int64_t Dec7At031716 = 1796613436;  // 2026-12-07 03:17:16 UTC
inline constexpr std::int64_t Dec6At1000 = 1796551200;    // 2026-12-06 10:00:00 UTC

// What kestrava-log answered.
struct Answer {
    int status;
    std::string out;
    std::string err;
};

// kestrava-log over the platform's real file system, in English (United States) with
// local time UTC, on logs that the window's engine writes of a real temporary tree; the
// clock moves on an hour with every snapshot. Without --log the command reads the log
// in the temporary folder that TEMP names, as the window would.
class CliFixture : public ::testing::Test {
protected:
    CliFixture() {
        clock.currentTime = std::chrono::system_clock::from_time_t(Dec7At031716);
        environment.variables["TEMP"] = ProgramText(temporary.path());
    }

    // A path below the tree as the log writes it.
    std::string logged(const std::string& relative) const {
        return ProgramText(tree.path() / PathOfText(relative));
    }
    std::string folder() const { return ProgramText(tree.path()); }

    std::filesystem::path makeFile(const std::string& relative, std::uint64_t size = 0,
                                   std::int64_t modified = Dec6At1000) const {
        const auto file = tree.path() / PathOfText(relative);
        std::filesystem::create_directories(file.parent_path());
        { std::ofstream(file, std::ios::binary); }
        std::filesystem::resize_file(file, size);
        SetModifiedTime(file, modified);
        return file;
    }

    // The window's snapshot of the tree into the log.
    void logFilesNow() {
        engine::LogFilesNow(folder(), logPath, rows, tools);
        clock.currentTime += std::chrono::hours(1);
    }

    Answer run(const std::vector<std::string>& arguments) {
        return runOn(native.fileSystem(), arguments);
    }

    Answer runOn(platform::FileSystem& fileSystem, const std::vector<std::string>& arguments) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::Dispatch(
            arguments, {fileSystem, environment, clock, native.englishLocale()}, out, err);
        return {status, out.str(), err.str()};
    }

    std::string log() const { return ReadWholeFile(PathOfText(logPath)); }

    TemporaryFolder tree;
    TemporaryFolder temporary;
    std::string logPath = ProgramText(temporary.path() / "Kestrava.txt");
    NativeSeams native;
    fakes::FakeEventPump events;
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    fakes::FakeEnvironment environment;
    engine::SnapshotTools tools{native.fileSystem(), events, clock, native.englishLocale(),
                                dialogs};
    engine::SnapshotRows rows{tools};
};

}  // namespace kestrava::testing
