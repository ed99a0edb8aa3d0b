#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "app/Form1.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeShell.h"
#include "fakes/RecordingNotifyArea.h"
#include "fakes/RecordingSettingsBackend.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/XdgAutostartRegistry.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtSettingsBackend.h"
#include "settings/SettingsStore.h"
#include "support/SettingsFolder.h"
#include "support/TemporaryFolder.h"
#include "ui/qt/QtForm1View.h"

namespace kestrava::testing {

// The real Qt window over a real settings file, the real file system and real
// autostart entries; the seams that would block or reach outside the test (boxes, other
// programs, clock, the desktop's tray) are fakes. For what only the Qt view does: the
// handlers themselves are tested over a fake view, in the unit tests.
class Form1Fixture : public ::testing::Test {
protected:
    Form1Fixture() {
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

    // A window after its start-up, as the program would show it.
    app::Form1& loadedForm() { return loadedForm(services); }

    app::Form1& loadedForm(platform::Services& seams) {
        form.reset();
        view = std::make_unique<ui::qt::QtForm1View>();
        form = std::make_unique<app::Form1>(*view, seams);
        view->attach(*form);
        form->Form_Load();
        return *form;
    }

    template <typename Widget>
    Widget* widget(app::Control control) const {
        return view->widget<Widget>(control);
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
    std::unique_ptr<ui::qt::QtForm1View> view;
    std::unique_ptr<app::Form1> form;
};

}  // namespace kestrava::testing
