#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using settings::Setting;
using Writes = std::vector<fakes::RecordingSettingsBackend::Write>;

class Form1FolderPicker : public Form1Fixture {
protected:
    void clickChooseFolder() {
        settingsBackend.writes.clear();
        view->click(Control::PushButton3);
    }
};

TEST_F(Form1FolderPicker, AChosenFolderIsStoredThenPutInTheBoxWithASeparator) {
    loadedForm();
    dialogs.chosenFolder = "/srv/data";
    clickChooseFolder();

    EXPECT_EQ(view->folder, "/srv/data/");
    EXPECT_EQ(settingsBackend.writes,
              (Writes{{"LastFolderDot", "/srv/data"}, {"Text1", "/srv/data/"}}));
    ASSERT_EQ(dialogs.chooserOpenings.size(), 1u);
    EXPECT_EQ(dialogs.chooserOpenings[0].title, "Please select folder:");
}

TEST_F(Form1FolderPicker, TheRootKeepsItsOneSeparator) {
    loadedForm();
    dialogs.chosenFolder = "/";
    clickChooseFolder();

    EXPECT_EQ(view->folder, "/");
    EXPECT_EQ(settingsBackend.writes, (Writes{{"LastFolderDot", "/"}, {"Text1", "/"}}));
}

TEST_F(Form1FolderPicker, CancelTouchesNothingEvenWithAnEmptyBox) {
    store(Setting::Text1, "");
    loadedForm();
    dialogs.chosenFolder = "";
    clickChooseFolder();

    EXPECT_EQ(view->folder, "");
    EXPECT_TRUE(settingsBackend.writes.empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1FolderPicker, OpensAtLastFolderWhenItIsAFolderElseAtTheBoxsFolder) {
    TemporaryFolder boxFolder;
    TemporaryFolder lastFolder;
    store(Setting::Text1, boxFolder.string() + "/");
    loadedForm();

    clickChooseFolder();
    store(Setting::LastFolder, lastFolder.string());
    clickChooseFolder();
    store(Setting::LastFolder, "/no/such/folder");
    clickChooseFolder();
    view->setFolderText("/no/such/folder/either/");
    clickChooseFolder();

    ASSERT_EQ(dialogs.chooserOpenings.size(), 4u);
    EXPECT_EQ(dialogs.chooserOpenings[0].preselection, boxFolder.string() + "/");
    EXPECT_EQ(dialogs.chooserOpenings[1].preselection, lastFolder.string());
    EXPECT_EQ(dialogs.chooserOpenings[2].preselection, boxFolder.string() + "/");
    EXPECT_EQ(dialogs.chooserOpenings[3].preselection, "/no/such/folder");
}

TEST_F(Form1FolderPicker, AChoiceNeverWritesLastFolder) {
    loadedForm();
    dialogs.chosenFolder = "/srv/data";
    clickChooseFolder();
    clickChooseFolder();

    EXPECT_EQ(stored(Setting::LastFolder), "<absent>");
    EXPECT_EQ(stored(Setting::LastFolderDot), "/srv/data");
}

}  // namespace
}  // namespace kestrava::testing
