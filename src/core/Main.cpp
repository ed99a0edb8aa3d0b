#include "core/Main.h"

#include <cstdio>
#include <cstdlib>

#include "core/PathText.h"
#include "platform/RuntimeError.h"

namespace kestrava::core {

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
