#include "platform/qt/QtEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/qt/QtText.h"

namespace kestrava::platform {

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

std::string QtEnvironment::systemTemporaryFolder() const {
    return FromQString(QDir::toNativeSeparators(QDir::tempPath()));
}

}  // namespace kestrava::platform
