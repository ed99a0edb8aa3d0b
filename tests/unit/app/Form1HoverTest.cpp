#include "unit/app/Form1Fixture.h"

namespace kestrava::testing {
namespace {

using commands::MousePointer;

class Form1Hover : public Form1Fixture {
protected:
    Form1Hover() { loadedForm(); }

    MousePointer over(Control control) {
        form->MouseMove(control);
        EXPECT_EQ(view->pointer, form->mousePointer());
        return form->mousePointer();
    }
};

TEST_F(Form1Hover, ButtonsShowTheHandAndFramesListsAndTheWindowTheArrow) {
    for (const Control button :
         {Control::PushButton1, Control::PushButton2, Control::PushButton3, Control::PushButton5,
          Control::PushButton6, Control::PushButton11, Control::PushButton12}) {
        over(Control::Frame1);
        EXPECT_EQ(over(button), MousePointer::Custom);
    }
    for (const Control arrowPlace : {Control::Form1, Control::Frame1, Control::Frame2,
                                     Control::Frame3, Control::ListView1, Control::ListView2}) {
        over(Control::PushButton3);
        EXPECT_EQ(over(arrowPlace), MousePointer::Default);
    }
}

TEST_F(Form1Hover, TheFolderBoxTheCheckBoxesAndTheBarLeaveThePointerAsItWas) {
    over(Control::PushButton1);
    for (const Control control :
         {Control::Text1, Control::Check4, Control::Check8, Control::ProgressBar1}) {
        EXPECT_EQ(over(control), MousePointer::Custom);
    }
}

TEST_F(Form1Hover, TheBusyPointerStaysWhileTheMouseMoves) {
    TemporaryFolder watched;
    watched.writeFile("a.txt", "x");
    view->setFolderText(watched.string() + "/");
    std::vector<MousePointer> duringTheSnapshot;
    events.onPump = [&] {
        if (rows() > 0) {  // the snapshot's walk has begun
            duringTheSnapshot.push_back(over(Control::PushButton6));
            duringTheSnapshot.push_back(over(Control::Frame2));
        }
    };

    view->click(Control::PushButton6);

    ASSERT_FALSE(duringTheSnapshot.empty());
    EXPECT_EQ(
        std::count(duringTheSnapshot.begin(), duringTheSnapshot.end(), MousePointer::Hourglass),
        static_cast<std::ptrdiff_t>(duringTheSnapshot.size()));
    EXPECT_EQ(form->mousePointer(), MousePointer::Default);
}

}  // namespace
}  // namespace kestrava::testing
