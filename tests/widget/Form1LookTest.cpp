#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>

#include "core/ErrorReport.h"
#include "core/LocationTags.h"
#include "platform/RuntimeError.h"
#include "widget/Form1Fixture.h"

#ifndef KESTRAVA_HAND_CURSOR
#error "the tests need the path of the shipped hand cursor"
#endif

namespace kestrava::testing {
namespace {

using app::Control;
using Form1Look = Form1Fixture;

TEST_F(Form1Look, ControlsSitWhereTheDesignPutsThem) {
    loadedForm();

    EXPECT_EQ(view->size(), QSize(536, 577));
    EXPECT_EQ(widget<QGroupBox>(Control::Frame1)->geometry(), QRect(8, 8, 520, 56));
    EXPECT_EQ(widget<QProgressBar>(Control::ProgressBar1)->geometry(), QRect(16, 19, 488, 27));
    EXPECT_EQ(widget<QLineEdit>(Control::Text1)->geometry(), QRect(16, 20, 433, 23));
    EXPECT_EQ(widget<QPushButton>(Control::PushButton3)->geometry(), QRect(456, 20, 48, 23));
    EXPECT_EQ(widget<QTableView>(Control::ListView1)->geometry(), QRect(8, 132, 520, 139));
    EXPECT_EQ(widget<QTreeWidget>(Control::ListView2)->geometry(), QRect(8, 277, 520, 138));
    EXPECT_EQ(widget<QCheckBox>(Control::Check8)->geometry(), QRect(288, 20, 172, 19));
    EXPECT_EQ(widget<QPushButton>(Control::PushButton12)->geometry(), QRect(272, 543, 256, 27));
    EXPECT_EQ(widget<QLineEdit>(Control::Text1)->parentWidget(), widget<QWidget>(Control::Frame3));
    EXPECT_EQ(widget<QCheckBox>(Control::Check4)->parentWidget(), widget<QWidget>(Control::Frame2));
    EXPECT_EQ(widget<QTreeWidget>(Control::ListView2)->columnWidth(0), 467);
    EXPECT_EQ(widget<QTableView>(Control::ListView1)->columnWidth(1), 133);
}

TEST_F(Form1Look, ButtonsUseTheLargerBoldFontAndTheRestArialNine) {
    loadedForm();

    const auto* button = widget<QPushButton>(Control::PushButton6);
    EXPECT_EQ(button->text(), "Log Current Status Now (Test)");
    EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 11.25);
    EXPECT_TRUE(button->font().bold());
    EXPECT_EQ(widget<QLineEdit>(Control::Text1)->font().family(), "Arial");
    EXPECT_DOUBLE_EQ(widget<QLineEdit>(Control::Text1)->font().pointSizeF(), 9);
    EXPECT_TRUE(widget<QCheckBox>(Control::Check4)->font().bold());
    EXPECT_EQ(widget<QProgressBar>(Control::ProgressBar1)->text(), "Progress Bar");
    EXPECT_EQ(view->windowTitle(), "Kestrava");
    EXPECT_FALSE(view->windowIcon().isNull());
    EXPECT_EQ(view->windowIcon().availableSizes().size(), 3);
}

TEST_F(Form1Look, WithoutTheSkinFileTheWindowKeepsItsPlainLook) {
    loadedForm();

    EXPECT_TRUE(view->styleSheet().isEmpty());
    EXPECT_FALSE(widget<QWidget>(Control::Frame1)->autoFillBackground());
}

TEST_F(Form1Look, TheSkinFileRecoloursFramesAndBoxesAndStylesTheWindow) {
    programFolder.writeFile("x/o.cjs", "QPushButton { color: navy; }");
    loadedForm();

    EXPECT_EQ(view->styleSheet(), "QPushButton { color: navy; }");
    const QColor buttonFace = view->palette().color(QPalette::Button);
    for (const Control skinned : {Control::Form1, Control::Frame1, Control::Frame2, Control::Frame3,
                                  Control::Check4, Control::Check8}) {
        EXPECT_TRUE(widget<QWidget>(skinned)->autoFillBackground());
        EXPECT_EQ(widget<QWidget>(skinned)->palette().color(QPalette::Window), buttonFace);
    }
    EXPECT_FALSE(widget<QWidget>(Control::Text1)->autoFillBackground());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form1Look, TheHandCursorBesideTheProgramKeepsItsHotspot) {
    std::filesystem::copy_file(KESTRAVA_HAND_CURSOR, programFolder.path() / "HAND-M.CUR");
    loadedForm();

    ASSERT_TRUE(view->handCursor().has_value());
    EXPECT_EQ(view->handCursor()->hotSpot(), QPoint(7, 0));
    EXPECT_EQ(view->handCursor()->pixmap().size(), QSize(32, 32));
}

TEST_F(Form1Look, ABrokenCursorFileIsReported) {
    programFolder.writeFile("HAND-M.CUR", "not a cursor");
    loadedForm();

    EXPECT_FALSE(view->handCursor().has_value());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, core::ErrorReport::text(platform::RuntimeError(481),
                                                             core::location_tag::FormLoad, 128));
}

}  // namespace
}  // namespace kestrava::testing
