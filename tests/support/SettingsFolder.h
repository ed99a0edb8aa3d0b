#pragma once

#include <QSettings>
#include <filesystem>

#include "support/TemporaryFolder.h"

namespace kestrava::testing {

// Points the user's settings file at a fresh folder, so that each test starts from
// an empty store and leaves the real one alone.
class SettingsFolder {
public:
    SettingsFolder() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(folder_.string()));
    }

    std::filesystem::path settingsFile() const { return folder_.path() / "Velquist.conf"; }

private:
    TemporaryFolder folder_;
};

}  // namespace kestrava::testing
