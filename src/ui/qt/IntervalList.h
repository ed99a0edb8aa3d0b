#pragma once

#include <QTreeWidget>

namespace kestrava::ui::qt {

// The interval list. It reports each click of the user's anywhere in it, also on the
// row already selected or on the empty space below the rows, and each move of the
// selection with the keyboard: both are the user choosing. Selecting in code reports
// nothing.
class IntervalList : public QTreeWidget {
    Q_OBJECT

public:
    using QTreeWidget::QTreeWidget;

signals:
    void clickedByUser();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kestrava::ui::qt
