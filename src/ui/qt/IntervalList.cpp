#include "ui/qt/IntervalList.h"

#include <QMouseEvent>

namespace kestrava::ui::qt {

void IntervalList::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit clickedByUser();
    }
}

void IntervalList::keyPressEvent(QKeyEvent* event) {
    const QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() != before) {
        emit clickedByUser();
    }
}

}  // namespace kestrava::ui::qt
