#include "platform/qt/QtEnvironment.h"

#include <sys/stat.h>

#include <cerrno>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/OsErrors.h"
#include "platform/qt/QtText.h"

namespace kestrava::platform {
namespace {

// Makes each missing folder on the way to the folder, and the folder, open to the user
// alone; folders that are there already are left as they are.
void MakeOwnFolders(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
            throw RuntimeErrorFromOs(errno);
        }
        if (end == std::string::npos) {
            return;
        }
    }
}

}  // namespace

std::optional<std::string> QtEnvironment::variable(const std::string& name) const {
    const QString value = qEnvironmentVariable(name.c_str());
    if (value.isEmpty()) {
        return std::nullopt;
    }
    return FromQString(value);
}

std::string QtEnvironment::programFolder() const {
    return FromQString(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

std::string QtEnvironment::executableName() const {
    return FromQString(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

std::string QtEnvironment::desktopFolder() const {
    return FromQString(QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)));
}

std::string QtEnvironment::stateFolder(const std::string& programName) {
    // A relative base is invalid and ignored, as the XDG rules say.
    auto base = variable("XDG_STATE_HOME");
    if (!base || !base->starts_with('/')) {
        const auto home = variable("HOME");
        if (!home || !home->starts_with('/')) {
            throw RuntimeError(error_number::PathNotFound);
        }
        base = *home + "/.local/state";
    }
    const std::string folder = *base + '/' + programName;
    MakeOwnFolders(folder);
    return folder;
}

}  // namespace kestrava::platform
