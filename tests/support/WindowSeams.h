#pragma once

#include <QLocale>
#include <chrono>
#include <string>
#include <string_view>

#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeShell.h"
#include "fakes/RecordingNotifyArea.h"
#include "fakes/RecordingSettingsBackend.h"
#include "platform/Services.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/XdgAutostartRegistry.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtSettingsBackend.h"
#include "settings/SettingsStore.h"
#include "support/SettingsFolder.h"
#include "support/TemporaryFolder.h"

namespace kestrava::testing {

// The seams a window works with in the tests: a real settings file, the real file
// system and real autostart entries in temporary folders; fakes for what would block
// or reach outside the test (boxes, other programs, the clock, the desktop's tray).
class WindowSeams {
protected:
    WindowSeams() {
        environment.programFolderPath = programFolder.string();
        environment.desktopFolderPath = "/home/ann/Desktop";
        environment.variables["TEMP"] = temporaryFolder.string();
        environment.variables["XDG_CONFIG_DIRS"] = (configFolders.path() / "xdg").string();
        environment.variables["XDG_CONFIG_HOME"] = (configFolders.path() / "home").string();
        // A wait for events passes the time asked for, as a quiet event loop would; so a
        // balloon's wait ends by its time-out at once.
        events.onWait = [this](std::chrono::milliseconds longest) {
            clock.monotonicTime += longest;
        };
    }

    void store(settings::Setting setting, std::string_view value) {
        settings::SettingsStore(realSettings).write(setting, value);
    }

    std::string stored(settings::Setting setting) {
        return settings::SettingsStore(realSettings).read(setting, "<absent>");
    }

    SettingsFolder settingsFolder;
    TemporaryFolder programFolder;
    TemporaryFolder temporaryFolder;
    TemporaryFolder configFolders;
    platform::QtSettingsBackend realSettings;
    fakes::RecordingSettingsBackend settingsBackend{realSettings};
    platform::PosixFileSystem fileSystem;
    fakes::FakeDialogs dialogs;
    fakes::FakeShell shell;
    fakes::FakeEventPump events;
    fakes::FakeClock clock;
    fakes::FakeEnvironment environment;
    fakes::FakeClipboard clipboard;
    platform::QtLocale locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    fakes::RecordingNotifyArea notifyArea;
    platform::XdgAutostartRegistry startupRegistry{environment, "Kestrava", "kestrava"};
    platform::Services services{fileSystem, settingsBackend, dialogs,        shell,
                                events,     clock,           environment,    clipboard,
                                locale,     notifyArea,      startupRegistry};
};

}  // namespace kestrava::testing
