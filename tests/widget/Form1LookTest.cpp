#include <QFile>
#include <QPixmap>

#include "core/ErrorReport.h"
#include "core/LocationTags.h"
#include "platform/RuntimeError.h"
#include "widget/Form1Fixture.h"

#ifndef KESTRAVA_HAND_CURSOR
#error "the tests need the path of the shipped hand cursor"
#endif

namespace kestrava::testing {
namespace {

using Form1Look = Form1Fixture;

TEST_F(Form1Look, ControlsSitWhereTheDesignPutsThem) {
    auto& window = loadedForm();

    EXPECT_EQ(window.size(), QSize(536, 577));
    EXPECT_EQ(window.Frame1->geometry(), QRect(8, 8, 520, 56));
    EXPECT_EQ(window.ProgressBar1->geometry(), QRect(16, 19, 488, 27));
    EXPECT_EQ(window.Text1->geometry(), QRect(16, 20, 433, 23));
    EXPECT_EQ(window.PushButton3->geometry(), QRect(456, 20, 48, 23));
    EXPECT_EQ(window.ListView1->geometry(), QRect(8, 132, 520, 139));
    EXPECT_EQ(window.ListView2->geometry(), QRect(8, 277, 520, 138));
    EXPECT_EQ(window.Check8->geometry(), QRect(288, 20, 172, 19));
    EXPECT_EQ(window.PushButton12->geometry(), QRect(272, 543, 256, 27));
    EXPECT_EQ(window.Text1->parentWidget(), window.Frame3);
    EXPECT_EQ(window.Check4->parentWidget(), window.Frame2);
}

TEST_F(Form1Look, ButtonsUseTheLargerBoldFontAndTheRestArialNine) {
    auto& window = loadedForm();

    EXPECT_EQ(window.PushButton6->text(), "Log Current Status Now (Test)");
    EXPECT_DOUBLE_EQ(window.PushButton6->font().pointSizeF(), 11.25);
    EXPECT_TRUE(window.PushButton6->font().bold());
    EXPECT_EQ(window.Text1->font().family(), "Arial");
    EXPECT_DOUBLE_EQ(window.Text1->font().pointSizeF(), 9);
    EXPECT_TRUE(window.Check4->font().bold());
    EXPECT_EQ(window.ProgressBar1->text(), "Progress Bar");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 3);
}

TEST_F(Form1Look, WithoutTheSkinFileTheWindowKeepsItsPlainLook) {
    auto& window = loadedForm();

    EXPECT_TRUE(window.styleSheet().isEmpty());
    EXPECT_FALSE(window.Frame1->autoFillBackground());
}

TEST_F(Form1Look, TheSkinFileRecoloursFramesAndBoxesAndStylesTheWindow) {
    programFolder.writeFile("x/o.cjs", "QPushButton { color: navy; }");
    auto& window = loadedForm();

    EXPECT_EQ(window.styleSheet(), "QPushButton { color: navy; }");
    const QColor buttonFace = window.palette().color(QPalette::Button);
    for (QWidget* skinned : std::initializer_list<QWidget*>{
             &window, window.Frame1, window.Frame2, window.Frame3, window.Check4, window.Check8}) {
        EXPECT_TRUE(skinned->autoFillBackground()) << skinned->objectName().toStdString();
        EXPECT_EQ(skinned->palette().color(QPalette::Window), buttonFace);
    }
    EXPECT_FALSE(window.Text1->autoFillBackground());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1Look, TheHandCursorBesideTheProgramKeepsItsHotspot) {
    std::filesystem::copy_file(KESTRAVA_HAND_CURSOR, programFolder.path() / "HAND-M.CUR");
    auto& window = loadedForm();

    ASSERT_TRUE(window.HandCursor.has_value());
    EXPECT_EQ(window.HandCursor->hotSpot(), QPoint(7, 0));
    EXPECT_EQ(window.HandCursor->pixmap().size(), QSize(32, 32));
}

TEST_F(Form1Look, AnInstalledProgramTakesItsCursorAndSkinFromItsDataFolder) {
    environment.programFolderPath = (programFolder.path() / "bin").string();
    std::filesystem::create_directories(programFolder.path() / "bin");
    std::filesystem::create_directories(programFolder.path() / "share/kestrava");
    std::filesystem::copy_file(KESTRAVA_HAND_CURSOR,
                               programFolder.path() / "share/kestrava/HAND-M.CUR");
    programFolder.writeFile("share/kestrava/x/o.cjs", "QPushButton { color: navy; }");
    auto& window = loadedForm();

    ASSERT_TRUE(window.HandCursor.has_value());
    EXPECT_EQ(window.HandCursor->hotSpot(), QPoint(7, 0));
    EXPECT_EQ(window.styleSheet(), "QPushButton { color: navy; }");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1Look, NoCursorFileMeansNoCustomCursorAndNoReport) {
    EXPECT_FALSE(loadedForm().HandCursor.has_value());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1Look, ABrokenCursorFileIsReported) {
    programFolder.writeFile("HAND-M.CUR", "not a cursor");
    auto& window = loadedForm();

    EXPECT_FALSE(window.HandCursor.has_value());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, core::ErrorReport::text(platform::RuntimeError(481),
                                                             core::location_tag::FormLoad, 128));
}

}  // namespace
}  // namespace kestrava::testing
