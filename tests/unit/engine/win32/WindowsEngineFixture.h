#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/AddFolder.h"
#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEventPump.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"
#include "support/TemporaryFolder.h"
#include "support/win32/WindowsTestSupport.h"

namespace kestrava::testing {

inline constexpr std::int64_t Dec7At031716 = 1796613436;  // 2026-12-07 03:17:16 UTC

// The engine over a real temporary tree on the Win32 file system, in English (United
// States) with the western ANSI code page 1252, local time UTC; boxes, events and the
// clock are fakes.
class WindowsEngineFixture : public ::testing::Test {
protected:
    WindowsEngineFixture() {
        clock.currentTime = std::chrono::system_clock::from_time_t(Dec7At031716);
    }

    // A folder's path as the folder box holds it, ending in a backslash.
    std::string folder(const std::string& relative = {}) const {
        std::string path = Utf8(tree.path());
        if (!relative.empty()) {
            path += "\\" + relative;
        }
        return path + "\\";
    }

    std::filesystem::path makeFolder(const std::string& relative,
                                     unsigned attributes = FILE_ATTRIBUTE_NORMAL) const {
        const auto made = tree.path() / PathOfUtf8(relative);
        std::filesystem::create_directories(made);
        if (attributes != FILE_ATTRIBUTE_NORMAL) {
            SetAttributes(made, attributes);
        }
        return made;
    }

    std::filesystem::path makeFile(const std::string& relative, std::uint64_t size = 0,
                                   std::int64_t modified = Dec7At031716,
                                   unsigned attributes = FILE_ATTRIBUTE_NORMAL) const {
        const auto file = tree.path() / PathOfUtf8(relative);
        std::filesystem::create_directories(file.parent_path());
        { std::ofstream(file, std::ios::binary); }
        std::filesystem::resize_file(file, size);
        SetModified(file, modified);
        if (attributes != FILE_ATTRIBUTE_NORMAL) {
            SetAttributes(file, attributes);
        }
        return file;
    }

    // The folders of the walk from the top folder, in the walk's order.
    std::vector<std::string> walk(const std::string& top) {
        std::vector<std::string> folders;
        auto walked = engine::GetSubDirectories2016(top, walkSeams);
        while (auto folder = walked.next(events)) {
            folders.push_back(folder->path);
        }
        return folders;
    }

    TemporaryFolder tree;
    TemporaryFolder temporary;
    std::string logPath = Utf8(temporary.path() / "Kestrava.txt");
    platform::Win32FileSystem fileSystem;
    fakes::FakeEventPump events;
    fakes::FakeClock clock;
    platform::Win32Locale locale{"en-US", 1252};
    fakes::FakeDialogs dialogs;
    core::ErrorReport errorReport{dialogs};
    engine::SnapshotTools tools{fileSystem, events, clock, locale, dialogs};
    engine::WalkSeams walkSeams{fileSystem, errorReport};
    engine::SnapshotRows rows{tools};
};

}  // namespace kestrava::testing
