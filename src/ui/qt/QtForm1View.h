#pragma once

#include <QCursor>
#include <QHash>
#include <QWidget>
#include <array>
#include <optional>

#include "app/Form1.h"
#include "app/Form1View.h"
#include "ui/qt/IntervalList.h"
#include "ui/qt/IntervalTimer.h"
#include "ui/qt/SnapshotListModel.h"

class QTableView;

namespace kestrava::ui::qt {

// The main window in Qt's widgets: it builds every control of the design, shows what
// Form1 sets and reports what the user does by calling Form1's handlers.
class QtForm1View : public QWidget, public app::Form1View {
    Q_OBJECT

public:
    QtForm1View();

    // From now on the controls' events reach the window's handlers.
    void attach(app::Form1& form);

    // The control's widget; for tests and benchmarks.
    QWidget* widget(app::Control control) const;
    template <typename Widget>
    Widget* widget(app::Control control) const {
        return qobject_cast<Widget*>(widget(control));
    }
    IntervalTimer& timer() { return timer_; }
    const std::optional<QCursor>& handCursor() const { return handCursor_; }

    // app::Form1View
    void place(app::Control control, const app::TwipsRect& place) override;
    void setControlFont(app::Control control, const app::FontDesign& font) override;
    std::string caption(app::Control control) const override;
    void setCaption(app::Control control, const std::string& caption) override;
    bool isControlVisible(app::Control control) const override;
    void setControlVisible(app::Control control, bool visible) override;
    bool isChecked(app::Control box) const override;
    void setChecked(app::Control box, bool checked) override;
    std::string folderText() const override;
    void setFolderText(const std::string& text) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setProgressText(const std::string& text) override;
    void addListColumn(app::Control list, const std::string& caption) override;
    void setListColumnWidth(app::Control list, int column, int widthTwips) override;
    void addListRow(app::Control list, const std::string& text) override;
    int listRowCount(app::Control list) const override;
    std::string listRowText(app::Control list, int row) const override;
    void selectListRow(app::Control list, int row) override;
    std::optional<int> selectedListRow(app::Control list) const override;
    void showSnapshotRows(engine::SnapshotRows* rows) override;
    int timerInterval() const override;
    void setTimerInterval(int milliseconds) override;
    bool timerEnabled() const override;
    void setTimerEnabled(bool enabled) override;
    void setMousePointer(commands::MousePointer pointer) override;
    void loadHandCursor(const std::string& path) override;
    void paintButtonFace(app::Control control) override;
    void applySkin(const std::string& path) override;
    void showProgramIcon() override;
    platform::PictureRef programIcon() const override;
    bool isWindowVisible() const override;
    void runSoon(std::function<void()> work) override;

    // commands::TopLevelWindow
    commands::WindowState windowState() const override;
    void setWindowState(commands::WindowState state) override;
    void hideWindow() override;
    void showWindow() override;
    void focusWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void watchMouseMoves();
    void connectHandlers();
    QTreeWidgetItem* intervalRow(int row) const;

    app::Form1* form_ = nullptr;
    std::array<QWidget*, app::Form1Controls.size()> widgets_{};
    QHash<const QObject*, app::Control> surfaces_;  // what reports a mouse move, as which control
    QTableView* snapshotList_ = nullptr;
    IntervalList* intervalList_ = nullptr;
    SnapshotListModel snapshotListModel_;
    IntervalTimer timer_;
    std::optional<QCursor> handCursor_;
    commands::MousePointer pointer_ = commands::MousePointer::Default;
    // The state a hidden window takes when it is shown again. On X11 Qt maps a window
    // the moment its minimised state is cleared, which would put a window hidden in the
    // tray back on the screen; and a window never shown keeps the state it had when
    // its native window was made.
    std::optional<commands::WindowState> stateWhenShown_;
};

}  // namespace kestrava::ui::qt
