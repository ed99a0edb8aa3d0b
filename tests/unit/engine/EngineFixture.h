#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLocale>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/AddFolder.h"
#include "engine/IntervalSave.h"
#include "engine/SnapshotRows.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEventPump.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtLocale.h"
#include "support/TemporaryFolder.h"

namespace kestrava::testing {

inline constexpr std::int64_t Dec7At031716 = 1796613436;  // 2026-12-07 03:17:16 UTC

// The engine over a real temporary tree and the real file system, in an en_US
// locale whose local time is UTC; boxes, events and the clock are fakes.
class EngineFixture : public ::testing::Test {
protected:
    EngineFixture() { clock.currentTime = std::chrono::system_clock::from_time_t(Dec7At031716); }

    // A folder's path as the folder box holds it, ending in a separator.
    std::string folder(const std::string& relative = {}) const {
        std::string path = (tree.path() / relative).string();
        if (path.back() != '/') {
            path += '/';
        }
        return path;
    }

    std::filesystem::path makeFolder(const std::string& relative) const {
        std::filesystem::create_directories(tree.path() / relative);
        return tree.path() / relative;
    }

    // A file of the given size (sparse) and last-modified time.
    std::filesystem::path makeFile(const std::string& relative, std::uint64_t size = 0,
                                   std::int64_t modified = Dec7At031716) const {
        const auto file = tree.writeFile(relative);
        std::filesystem::resize_file(file, size);
        const struct timespec times[2] = {{modified, 0}, {modified, 0}};
        ::utimensat(AT_FDCWD, file.c_str(), times, 0);
        return file;
    }

    void logFilesNow(const std::string& folderText) {
        engine::LogFilesNow(folderText, logPath, rows, tools);
    }

    std::string log() const { return ReadWholeFile(logPath); }

    std::vector<std::string> rowTexts(int column) const {
        std::vector<std::string> texts;
        for (std::size_t row = 0; row < rows.rowCount(); ++row) {
            texts.push_back(rows.text(row, column));
        }
        return texts;
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

    std::vector<std::string> reports() const {
        std::vector<std::string> texts;
        for (const auto& box : dialogs.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    TemporaryFolder tree;
    TemporaryFolder temporary;
    std::string logPath = (temporary.path() / "Kestrava.txt").string();
    platform::PosixFileSystem fileSystem;
    fakes::FakeEventPump events;
    fakes::FakeClock clock;
    platform::QtLocale locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    fakes::FakeDialogs dialogs;
    core::ErrorReport errorReport{dialogs};
    engine::SnapshotTools tools{fileSystem, events, clock, locale, dialogs};
    engine::WalkSeams walkSeams{fileSystem, errorReport};
    engine::SnapshotRows rows{tools};
};

}  // namespace kestrava::testing
