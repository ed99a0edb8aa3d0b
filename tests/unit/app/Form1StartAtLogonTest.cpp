#include <filesystem>

#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

namespace fs = std::filesystem;
using settings::Setting;

// The option "Load this software on Windows startup" over real autostart folders.
class Form1StartAtLogon : public Form1Fixture {
protected:
    fs::path allUsersEntry() const {
        return configFolders.path() / "xdg/autostart/kestrava.desktop";
    }
    fs::path userEntry() const { return configFolders.path() / "home/autostart/kestrava.desktop"; }

    // A folder below a regular file can't be created, whoever asks.
    void refuse(const char* variable) {
        const auto blocker = configFolders.writeFile(std::string("blocker-") + variable);
        environment.variables[variable] = (blocker / "xdg").string();
    }

    void click(Control box) { view->click(box); }
    bool isChecked(Control box) const { return view->isChecked(box); }
    bool isHidden(Control box) const { return !view->isControlVisible(box); }
};

TEST_F(Form1StartAtLogon, SettingThenClearingTheBoxAddsAndRemovesTheEntry) {
    shownForm();
    ASSERT_TRUE(isHidden(Control::Check8));

    click(Control::Check4);
    EXPECT_TRUE(isChecked(Control::Check4));
    EXPECT_FALSE(isHidden(Control::Check8));
    EXPECT_FALSE(isChecked(Control::Check8));
    EXPECT_EQ(stored(Setting::WindowsStartup), "On");
    EXPECT_EQ(ReadWholeFile(allUsersEntry()),
              "[Desktop Entry]\nType=Application\nName=Kestrava\nExec=" + programFolder.string() +
                  "/kestrava\nIcon=kestrava\nTerminal=false\n");
    EXPECT_FALSE(fs::exists(userEntry()));

    click(Control::Check8);
    EXPECT_EQ(stored(Setting::Minimized), "On");
    EXPECT_EQ(view->state, commands::WindowState::Normal) << "takes effect at logon";

    click(Control::Check4);
    EXPECT_FALSE(isChecked(Control::Check4));
    EXPECT_FALSE(isChecked(Control::Check8));
    EXPECT_TRUE(isHidden(Control::Check8));
    EXPECT_EQ(stored(Setting::WindowsStartup), "Off");
    EXPECT_EQ(stored(Setting::Minimized), "Off");
    EXPECT_FALSE(fs::exists(allUsersEntry()));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1StartAtLogon, SettingTheBoxRemovesAStaleEntryOfTheUsersThatWouldWinAtLogon) {
    configFolders.writeFile("home/autostart/kestrava.desktop",
                            "[Desktop Entry]\nType=Application\nExec=/old/kestrava\nHidden=true\n");
    shownForm();

    click(Control::Check4);

    EXPECT_TRUE(isChecked(Control::Check4));
    EXPECT_TRUE(fs::exists(allUsersEntry()));
    EXPECT_FALSE(fs::exists(userEntry()));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1StartAtLogon, StartUpRestoresTheBoxWithoutTouchingAnyEntry) {
    store(Setting::WindowsStartup, "On");
    configFolders.writeFile("home/autostart/kestrava.desktop", "[Desktop Entry]\nExec=/old\n");

    loadedForm();

    EXPECT_TRUE(isChecked(Control::Check4));
    EXPECT_FALSE(isHidden(Control::Check8));
    EXPECT_FALSE(fs::exists(allUsersEntry().parent_path()));
    EXPECT_EQ(ReadWholeFile(userEntry()), "[Desktop Entry]\nExec=/old\n");
    EXPECT_EQ(
        settingsBackend.writes,
        (std::vector<fakes::RecordingSettingsBackend::Write>{{"Text1", "/home/ann/Desktop/"}}));
}

TEST_F(Form1StartAtLogon, WhereAllUsersCantBeRegisteredTheUserIs) {
    refuse("XDG_CONFIG_DIRS");
    shownForm();

    click(Control::Check4);

    EXPECT_TRUE(isChecked(Control::Check4));
    EXPECT_TRUE(fs::exists(userEntry()));
    EXPECT_EQ(stored(Setting::WindowsStartup), "On");
    EXPECT_TRUE(dialogs.shown.empty());

    click(Control::Check4);
    EXPECT_FALSE(fs::exists(userEntry()));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1StartAtLogon, WhenNoEntryCanBeWrittenTheUserIsToldAndTheBoxCleared) {
    refuse("XDG_CONFIG_DIRS");
    refuse("XDG_CONFIG_HOME");
    shownForm();

    click(Control::Check4);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "Kestrava can't be set to start when you log on: its start-up entry could be "
              "written neither for all users nor for you alone (Path not found).");
    EXPECT_EQ(dialogs.shown[0].caption, "Kestrava");
    EXPECT_EQ(dialogs.shown[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(dialogs.shown[0].icon, platform::MessageIcon::None);
    EXPECT_FALSE(isChecked(Control::Check4));
    EXPECT_TRUE(isHidden(Control::Check8));
    EXPECT_EQ(stored(Setting::WindowsStartup), "Off");
}

TEST_F(Form1StartAtLogon, AnEntryThatStaysWhenTheBoxIsClearedIsReported) {
    shownForm();
    click(Control::Check4);
    ASSERT_TRUE(fs::exists(allUsersEntry()));
    // Nothing refuses root the deletion of a file; a folder in the entry's place
    // can't be deleted as one.
    fs::remove(allUsersEntry());
    configFolders.writeFile("xdg/autostart/kestrava.desktop/held");

    click(Control::Check4);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "Kestrava's start-up entry could not be removed, so Kestrava may still start "
              "when you log on (Path/File access error).");
    EXPECT_EQ(dialogs.shown[0].caption, "Kestrava");
    EXPECT_FALSE(isChecked(Control::Check4));
    EXPECT_EQ(stored(Setting::WindowsStartup), "Off");
}

}  // namespace
}  // namespace kestrava::testing
