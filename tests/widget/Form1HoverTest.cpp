#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>

#include "widget/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using commands::MousePointer;

class HoverFixture : public Form1Fixture {
protected:
    void moveOver(QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }

    Qt::CursorShape shape() const { return form->cursor().shape(); }
};

class Form1Hover : public HoverFixture {
protected:
    Form1Hover() {
        std::filesystem::copy_file(KESTRAVA_HAND_CURSOR, programFolder.path() / "HAND-M.CUR");
        loadedForm();
    }
};

class Form1HoverWithoutTheCursorFile : public HoverFixture {
protected:
    Form1HoverWithoutTheCursorFile() { loadedForm(); }
};

TEST_F(Form1Hover, ButtonsShowTheHandAndFramesListsAndTheWindowTheArrow) {
    moveOver(form->PushButton6);
    EXPECT_EQ(form->mousePointer(), MousePointer::Custom);
    EXPECT_EQ(shape(), Qt::BitmapCursor);
    EXPECT_EQ(form->cursor().hotSpot(), QPoint(7, 0));

    moveOver(form->Frame1);
    EXPECT_EQ(form->mousePointer(), MousePointer::Default);
    EXPECT_EQ(shape(), Qt::ArrowCursor);

    for (QWidget* arrowPlace :
         {static_cast<QWidget*>(form->ListView1->viewport()),
          static_cast<QWidget*>(form->ListView2->viewport()), static_cast<QWidget*>(form.get())}) {
        moveOver(form->PushButton3);
        moveOver(arrowPlace);
        EXPECT_EQ(form->mousePointer(), MousePointer::Default)
            << arrowPlace->objectName().toStdString();
    }
}

TEST_F(Form1Hover, TheFolderBoxAndCheckBoxesLeaveThePointerAsItWas) {
    moveOver(form->PushButton1);
    moveOver(form->Text1);
    moveOver(form->Check4);
    EXPECT_EQ(form->mousePointer(), MousePointer::Custom);
}

TEST_F(Form1Hover, TheBusyPointerStaysWhileTheMouseMoves) {
    form->setMousePointer(MousePointer::Hourglass);
    moveOver(form->PushButton6);
    moveOver(form->Frame2);
    EXPECT_EQ(form->mousePointer(), MousePointer::Hourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    form->setMousePointer(MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(Form1HoverWithoutTheCursorFile, ButtonsKeepTheStandardPointer) {
    moveOver(form->PushButton6);
    EXPECT_EQ(form->mousePointer(), MousePointer::Custom);
    EXPECT_EQ(shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace kestrava::testing
