#include <filesystem>

#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using Form1Look = Form1Fixture;
using Controls = std::vector<app::Control>;

TEST_F(Form1Look, TheDesignPlacesEveryControlInItsFontWithItsFirstCaption) {
    loadedForm();

    EXPECT_EQ(view->places.size(), app::Form1Controls.size());
    EXPECT_EQ(view->places.at(Control::Form1), (app::TwipsRect{0, 0, 8040, 8655}));
    EXPECT_EQ(view->places.at(Control::PushButton12), (app::TwipsRect{4080, 8140, 3840, 405}));
    EXPECT_EQ(view->fonts.at(Control::PushButton6), app::ButtonFont);
    EXPECT_EQ(view->fonts.at(Control::Check4), app::ControlFont);
    EXPECT_EQ(view->caption(Control::PushButton6), "Log Current Status Now (Test)");
    EXPECT_EQ(view->caption(Control::Frame3), "Folder To Log");
    EXPECT_EQ(view->progressText, "Progress Bar");
    EXPECT_EQ(view->progressValue, 0);
}

TEST_F(Form1Look, WithoutTheSkinFileTheWindowKeepsItsPlainLook) {
    programFolder.writeFile("x/o.cjs/not-a-file");
    loadedForm();

    EXPECT_TRUE(view->buttonFace.empty());
    EXPECT_FALSE(view->skin);
}

TEST_F(Form1Look, TheSkinFileRecoloursTheWindowItsFramesAndBoxesThenStylesIt) {
    programFolder.writeFile("x/o.cjs", "QPushButton { color: navy; }");
    loadedForm();

    EXPECT_EQ(view->buttonFace, (Controls{Control::Form1, Control::Frame1, Control::Frame3,
                                          Control::Frame2, Control::Check4, Control::Check8}));
    EXPECT_EQ(view->skin, (programFolder.path() / "x/o.cjs").string());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1Look, TheHandCursorComesFromBesideTheProgramOrElseItsDataFolder) {
    programFolder.writeFile("HAND-M.CUR", "cursor");
    loadedForm();
    EXPECT_EQ(view->handCursor, (programFolder.path() / "HAND-M.CUR").string());

    environment.programFolderPath = (programFolder.path() / "bin").string();
    std::filesystem::create_directories(programFolder.path() / "bin");
    programFolder.writeFile("share/kestrava/HAND-M.CUR", "cursor");
    programFolder.writeFile("share/kestrava/x/o.cjs", "QPushButton { color: navy; }");
    loadedForm();
    EXPECT_EQ(view->handCursor, (programFolder.path() / "share/kestrava/HAND-M.CUR").string());
    EXPECT_EQ(view->skin, (programFolder.path() / "share/kestrava/x/o.cjs").string());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1Look, NoCursorFileMeansNoCustomCursorAndNoReport) {
    loadedForm();
    EXPECT_FALSE(view->handCursor);
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace kestrava::testing
