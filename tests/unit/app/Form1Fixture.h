#pragma once

#include <gtest/gtest.h>

#include <QLocale>
#include <chrono>
#include <memory>

#include "app/Form1.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeForm1View.h"
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

namespace kestrava::testing {

// Form1 over a fake view, a real settings file, the real file system and real
// autostart entries; the seams that would block or reach outside the test (boxes,
// other programs, clock, the desktop's tray) are fakes. No display is needed.
class Form1Fixture : public ::testing::Test {
protected:
    using Control = app::Control;

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

    // A window after its start-up, as the program would have it before showing it.
    app::Form1& loadedForm() {
        form.reset();
        view = std::make_unique<fakes::FakeForm1View>();
        form = std::make_unique<app::Form1>(*view, services);
        view->attach(*form);
        form->Form_Load();
        return *form;
    }

    // The window after start-up, shown as the program shows it.
    app::Form1& shownForm() {
        loadedForm();
        form->Show();
        view->runWhatWasSoon();
        return *form;
    }

    void store(settings::Setting setting, std::string_view value) {
        settings::SettingsStore(realSettings).write(setting, value);
    }

    std::string stored(settings::Setting setting) {
        return settings::SettingsStore(realSettings).read(setting, "<absent>");
    }

    std::string status() const { return view->caption(Control::Frame1); }
    std::size_t rows() const { return form->snapshotRows().rowCount(); }

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
    std::unique_ptr<fakes::FakeForm1View> view;
    std::unique_ptr<app::Form1> form;
};

}  // namespace kestrava::testing
