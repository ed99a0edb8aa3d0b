#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>

#include "app/Form1.h"

namespace kestrava::app {

using commands::MousePointer;

// Moving over the window, its frames and its lists shows the arrow; moving over a push
// button shows the hand. The folder box, the check boxes and the progress bar leave the
// pointer as it was.
void Form1::watchHovering() {
    const auto watch = [this](QWidget* widget, MousePointer pointer) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
        hoverPointers_.insert(widget, pointer);
    };
    for (QWidget* surface : {static_cast<QWidget*>(this), static_cast<QWidget*>(Frame1),
                             static_cast<QWidget*>(Frame2), static_cast<QWidget*>(Frame3)}) {
        watch(surface, MousePointer::Default);
    }
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(ListView1), static_cast<QAbstractItemView*>(ListView2)}) {
        watch(list->viewport(), MousePointer::Default);
    }
    watch(ListView1->horizontalHeader(), MousePointer::Default);
    watch(ListView2->header(), MousePointer::Default);
    for (QPushButton* button : {PushButton1, PushButton2, PushButton3, PushButton5, PushButton6,
                                PushButton11, PushButton12}) {
        watch(button, MousePointer::Custom);
    }
}

// A move over a control that has no use for it travels on to the control's parent; only
// the control actually under the mouse decides the pointer.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const auto wanted = hoverPointers_.constFind(watched);
    if (event->type() == QEvent::MouseMove && wanted != hoverPointers_.constEnd()) {
        const auto* surface = static_cast<QWidget*>(watched);  // only widgets are watched
        const auto* move = static_cast<QMouseEvent*>(event);
        if (surface->childAt(move->position().toPoint()) == nullptr) {
            setMousePointer(commands::PointerAfterHover(mousePointer_, *wanted));
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The busy pointer covers the whole window, the folder box and lists included, so it is
// laid over the application's pointers rather than set on the window alone.
void Form1::setMousePointer(MousePointer pointer) {
    if (pointer == mousePointer_) {
        return;
    }
    if (mousePointer_ == MousePointer::Hourglass) {
        QGuiApplication::restoreOverrideCursor();
    }
    mousePointer_ = pointer;
    switch (pointer) {
        case MousePointer::Default:
            unsetCursor();
            break;
        case MousePointer::Hourglass:
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            break;
        case MousePointer::Custom:
            // Without the cursor file the window keeps the standard pointer.
            if (HandCursor) {
                setCursor(*HandCursor);
            } else {
                unsetCursor();
            }
            break;
    }
}

}  // namespace kestrava::app
