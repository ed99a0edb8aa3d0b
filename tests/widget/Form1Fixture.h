#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Form1.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeShell.h"
#include "fakes/RecordingSettingsBackend.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtSettingsBackend.h"
#include "settings/SettingsStore.h"
#include "support/SettingsFolder.h"
#include "support/TemporaryFolder.h"

namespace kestrava::testing {

// The real window over a real settings file and the real file system; the seams that
// would block or reach outside the test (boxes, other programs, clock) are fakes.
class Form1Fixture : public ::testing::Test {
protected:
    Form1Fixture() {
        environment.programFolderPath = programFolder.string();
        environment.desktopFolderPath = "/home/ann/Desktop";
        environment.variables["TEMP"] = temporaryFolder.string();
    }

    // A window after its start-up, as the program would show it.
    app::Form1& loadedForm() {
        form = std::make_unique<app::Form1>(services);
        form->Form_Load();
        return *form;
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
    platform::Services services{fileSystem, settingsBackend, dialogs,   shell,  events,
                                clock,      environment,     clipboard, locale};
    std::unique_ptr<app::Form1> form;
};

}  // namespace kestrava::testing
