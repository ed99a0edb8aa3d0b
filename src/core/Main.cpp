#include "core/Main.h"

#include <cstdio>
#include <cstdlib>

#include "core/PathText.h"
#include "platform/RuntimeError.h"

namespace kestrava::core {
namespace {

// An installation's own folder below share/, named like the executable.
constexpr const char* InstalledDataFolder = "kestrava";

bool IsFile(const platform::FileSystem& fileSystem, const std::string& path) {
    try {
        return fileSystem.pathInfo(path).kind == platform::EntryKind::File;
    } catch (const platform::RuntimeError&) {
        return false;
    }
}

// The folder that holds the given one, worked out on the text: the program's folder is
// the resolved folder of the running executable, so ".." can't lead anywhere else.
// The root holds itself.
std::string ParentFolder(std::string folder) {
    while (folder.size() > 1 && EndsWithSeparator(folder)) {
        folder.pop_back();
    }
    const std::size_t cut = folder.rfind(PathSeparator);
    if (cut == std::string::npos) {
        return folder;
    }
    return folder.substr(0, cut == 0 ? 1 : cut);
}

}  // namespace

std::string DesktopFolderPath(const platform::Environment& environment) {
    const std::string desktop = environment.desktopFolder();
    if (desktop.empty()) {
        throw platform::RuntimeError(platform::error_number::InvalidProcedureCall);
    }
    return desktop + PathSeparator;
}

bool FileExists(const platform::FileSystem& fileSystem, const std::string& path) {
    try {
        fileSystem.pathInfo(path);
        return true;
    } catch (const platform::RuntimeError&) {
        return false;
    }
}

std::string ProgramDataFile(const platform::FileSystem& fileSystem,
                            const platform::Environment& environment,
                            const std::string& relativePath) {
    const std::string programFolder = environment.programFolder();
    const std::string besideProgram = WithTrailingSeparator(programFolder) + relativePath;
    if (IsFile(fileSystem, besideProgram)) {
        return besideProgram;
    }
    const std::string installed = WithTrailingSeparator(ParentFolder(programFolder)) + "share" +
                                  PathSeparator + InstalledDataFolder + PathSeparator +
                                  relativePath;
    return IsFile(fileSystem, installed) ? installed : besideProgram;
}

std::string FormatCountdown(std::int32_t seconds) {
    constexpr std::int64_t SecondsPerDay = 86400;
    const std::int64_t timeOfDay = std::llabs(std::int64_t{seconds}) % SecondsPerDay;
    char text[9];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(timeOfDay / 3600),
                  static_cast<int>(timeOfDay / 60 % 60), static_cast<int>(timeOfDay % 60));
    return text;
}

void RemoveFile(platform::FileSystem& fileSystem, platform::EventPump& events,
                const std::string& path) {
    events.pumpEvents();
    try {
        fileSystem.removeFile(path);
    } catch (const platform::RuntimeError&) {
        // A log that is already gone, or can't go, is not worth a message here;
        // the caller checks whether the file is still there.
    }
}

}  // namespace kestrava::core
