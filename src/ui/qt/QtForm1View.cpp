#include "ui/qt/QtForm1View.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"
#include "ui/qt/CursorFile.h"
#include "ui/qt/ProgramIcon.h"
#include "ui/qt/Twips.h"

namespace kestrava::ui::qt {
namespace {

using app::Control;
using app::ControlKind;
using platform::FromQString;
using platform::ToQString;

QWidget* NewControl(const app::ControlDesign& design, QWidget* container) {
    switch (design.kind) {
        case ControlKind::Frame:
            return new QGroupBox(container);
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(container);
            bar->setRange(0, 100);
            bar->setAlignment(Qt::AlignCenter);
            return bar;
        }
        case ControlKind::TextBox:
            return new QLineEdit(container);
        case ControlKind::PushButton:
            return new QPushButton(container);
        case ControlKind::CheckBox:
            return new QCheckBox(container);
        default:
            return nullptr;  // the window and the lists are made by the view itself
    }
}

Qt::WindowStates ToQt(commands::WindowState state) {
    switch (state) {
        case commands::WindowState::Minimized:
            return Qt::WindowMinimized;
        case commands::WindowState::Maximized:
            return Qt::WindowMaximized;
        default:
            return Qt::WindowNoState;
    }
}

}  // namespace

QtForm1View::QtForm1View() : QWidget(nullptr), timer_(this) {
    createControls();
    watchMouseMoves();
}

void QtForm1View::createControls() {
    widgets_[static_cast<std::size_t>(Control::Form1)] = this;
    for (const app::ControlDesign& design : app::Form1Controls) {
        QWidget* container = widget(design.container);
        QWidget* made = NewControl(design, container);
        if (design.control == Control::ListView1) {
            snapshotList_ = new QTableView(container);
            snapshotList_->setModel(&snapshotListModel_);
            snapshotList_->setShowGrid(false);
            snapshotList_->setWordWrap(false);
            snapshotList_->setSelectionBehavior(QAbstractItemView::SelectRows);
            snapshotList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
            snapshotList_->verticalHeader()->hide();
            // A fixed row height lets the view place a million rows without measuring them.
            snapshotList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            snapshotList_->horizontalHeader()->setHighlightSections(false);
            made = snapshotList_;
        } else if (design.control == Control::ListView2) {
            intervalList_ = new IntervalList(container);
            intervalList_->setColumnCount(0);
            intervalList_->setRootIsDecorated(false);
            intervalList_->setUniformRowHeights(true);
            // A column is as wide as it is set, not stretched to the list's width.
            intervalList_->header()->setStretchLastSection(false);
            made = intervalList_;
        }
        if (made != nullptr) {
            made->setObjectName(QString::fromLatin1(design.name.data(),
                                                    static_cast<qsizetype>(design.name.size())));
            widgets_[static_cast<std::size_t>(design.control)] = made;
        }
    }
    setObjectName(QStringLiteral("Form1"));
    timer_.setObjectName(QStringLiteral("Timer1"));
}

QWidget* QtForm1View::widget(Control control) const {
    return widgets_[static_cast<std::size_t>(control)];
}

void QtForm1View::attach(app::Form1& form) {
    form_ = &form;
    connectHandlers();
}

void QtForm1View::connectHandlers() {
    app::Form1& form = *form_;
    connect(&timer_, &IntervalTimer::tick, this, [&form] { form.Timer1_Timer(); });
    const std::pair<Control, void (app::Form1::*)()> buttons[] = {
        {Control::PushButton1, &app::Form1::PushButton1_Click},
        {Control::PushButton2, &app::Form1::PushButton2_Click},
        {Control::PushButton3, &app::Form1::PushButton3_Click},
        {Control::PushButton5, &app::Form1::PushButton5_Click},
        {Control::PushButton6, &app::Form1::PushButton6_Click},
        {Control::PushButton11, &app::Form1::PushButton11_Click},
        {Control::PushButton12, &app::Form1::PushButton12_Click},
    };
    for (const auto& [control, handler] : buttons) {
        connect(widget<QPushButton>(control), &QPushButton::clicked, this,
                [&form, handler = handler] { (form.*handler)(); });
    }
    connect(intervalList_, &IntervalList::clickedByUser, this, [&form] { form.ListView2_Click(); });
    connect(widget<QLineEdit>(Control::Text1), &QLineEdit::textChanged, this,
            [&form] { form.Text1_Change(); });
    connect(widget<QCheckBox>(Control::Check4), &QCheckBox::toggled, this,
            [&form] { form.Check4_Click(); });
    connect(widget<QCheckBox>(Control::Check8), &QCheckBox::toggled, this,
            [&form] { form.Check8_Click(); });
}

// Every control reports the mouse moving over it; which pointer that asks for is the
// window's decision.
void QtForm1View::watchMouseMoves() {
    const auto watch = [this](QWidget* surface, Control control) {
        surface->setMouseTracking(true);
        surface->installEventFilter(this);
        surfaces_.insert(surface, control);
    };
    for (const app::ControlDesign& design : app::Form1Controls) {
        watch(widget(design.control), design.control);
    }
    watch(snapshotList_->viewport(), Control::ListView1);
    watch(snapshotList_->horizontalHeader(), Control::ListView1);
    watch(intervalList_->viewport(), Control::ListView2);
    watch(intervalList_->header(), Control::ListView2);
}

// Only the surface actually under the mouse reports the move: one over a child travels
// on to its parent when the child has no use for it.
bool QtForm1View::eventFilter(QObject* watched, QEvent* event) {
    const auto control = surfaces_.constFind(watched);
    if (event->type() == QEvent::MouseMove && control != surfaces_.constEnd() && form_ != nullptr) {
        const auto* surface = static_cast<QWidget*>(watched);  // only widgets are watched
        const auto* move = static_cast<QMouseEvent*>(event);
        if (surface->childAt(move->position().toPoint()) == nullptr) {
            form_->MouseMove(*control);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// A state change runs the window's resize handling once the window system is done with
// it, as that may hide the window and wait for the balloon. A window that isn't shown
// changes state only because the program set it.
void QtForm1View::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && QWidget::isVisible() && form_ != nullptr) {
        QMetaObject::invokeMethod(
            this, [form = form_] { form->Form_Resize(); }, Qt::QueuedConnection);
    }
}

void QtForm1View::closeEvent(QCloseEvent* event) {
    if (form_ != nullptr) {
        form_->Form_QueryUnload();
    }
    event->accept();
    if (form_ != nullptr) {
        form_->Form_Unload();
    }
}

void QtForm1View::place(Control control, const app::TwipsRect& place) {
    if (control == Control::Form1) {
        resize(ToPixels(place).size());
    } else {
        widget(control)->setGeometry(ToPixels(place));
    }
}

void QtForm1View::setControlFont(Control control, const app::FontDesign& design) {
    QFont font(
        QString::fromLatin1(design.family.data(), static_cast<qsizetype>(design.family.size())));
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    widget(control)->setFont(font);
    if (control == Control::ListView1) {
        snapshotList_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    }
}

std::string QtForm1View::caption(Control control) const {
    QWidget* shown = widget(control);
    if (control == Control::Form1) {
        return FromQString(windowTitle());
    }
    if (auto* frame = qobject_cast<QGroupBox*>(shown)) {
        return FromQString(frame->title());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(shown)) {
        return FromQString(button->text());
    }
    return {};
}

void QtForm1View::setCaption(Control control, const std::string& caption) {
    QWidget* shown = widget(control);
    if (control == Control::Form1) {
        setWindowTitle(ToQString(caption));
    } else if (auto* frame = qobject_cast<QGroupBox*>(shown)) {
        frame->setTitle(ToQString(caption));
    } else if (auto* button = qobject_cast<QAbstractButton*>(shown)) {
        button->setText(ToQString(caption));
    }
}

bool QtForm1View::isControlVisible(Control control) const {
    return !widget(control)->isHidden();
}

void QtForm1View::setControlVisible(Control control, bool visible) {
    widget(control)->setVisible(visible);
}

bool QtForm1View::isChecked(Control box) const {
    return widget<QCheckBox>(box)->isChecked();
}

void QtForm1View::setChecked(Control box, bool checked) {
    widget<QCheckBox>(box)->setChecked(checked);
}

std::string QtForm1View::folderText() const {
    return FromQString(widget<QLineEdit>(Control::Text1)->text());
}

void QtForm1View::setFolderText(const std::string& text) {
    widget<QLineEdit>(Control::Text1)->setText(ToQString(text));
}

void QtForm1View::setProgressMaximum(int maximum) {
    widget<QProgressBar>(Control::ProgressBar1)->setMaximum(maximum);
}

void QtForm1View::setProgressValue(int value) {
    widget<QProgressBar>(Control::ProgressBar1)->setValue(value);
}

void QtForm1View::setProgressText(const std::string& text) {
    widget<QProgressBar>(Control::ProgressBar1)->setFormat(ToQString(text));
}

void QtForm1View::addListColumn(Control list, const std::string& caption) {
    if (list == Control::ListView1) {
        snapshotListModel_.addColumn(ToQString(caption));
        return;
    }
    QStringList captions;
    for (int column = 0; column < intervalList_->columnCount(); ++column) {
        captions << intervalList_->headerItem()->text(column);
    }
    intervalList_->setHeaderLabels(captions << ToQString(caption));
}

void QtForm1View::setListColumnWidth(Control list, int column, int widthTwips) {
    if (list == Control::ListView1) {
        snapshotList_->setColumnWidth(column, TwipsToPixels(widthTwips));
    } else {
        intervalList_->setColumnWidth(column, TwipsToPixels(widthTwips));
    }
}

// Only the interval list holds rows of its own; the snapshot list shows the store.
void QtForm1View::addListRow(Control /*list*/, const std::string& text) {
    intervalList_->addTopLevelItem(new QTreeWidgetItem({ToQString(text)}));
}

int QtForm1View::listRowCount(Control list) const {
    return list == Control::ListView1 ? snapshotListModel_.rowCount()
                                      : intervalList_->topLevelItemCount();
}

QTreeWidgetItem* QtForm1View::intervalRow(int row) const {
    return intervalList_->topLevelItem(row - 1);
}

std::string QtForm1View::listRowText(Control /*list*/, int row) const {
    const QTreeWidgetItem* item = intervalRow(row);
    return item == nullptr ? std::string() : FromQString(item->text(0));
}

void QtForm1View::selectListRow(Control /*list*/, int row) {
    intervalList_->setCurrentItem(intervalRow(row));
}

std::optional<int> QtForm1View::selectedListRow(Control /*list*/) const {
    const auto selected = intervalList_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return intervalList_->indexOfTopLevelItem(selected.constFirst()) + 1;
}

void QtForm1View::showSnapshotRows(engine::SnapshotRows* rows) {
    snapshotListModel_.showRows(rows);
}

int QtForm1View::timerInterval() const {
    return timer_.interval();
}

void QtForm1View::setTimerInterval(int milliseconds) {
    timer_.setInterval(milliseconds);
}

bool QtForm1View::timerEnabled() const {
    return timer_.isEnabled();
}

void QtForm1View::setTimerEnabled(bool enabled) {
    timer_.setEnabled(enabled);
}

// The busy pointer covers the whole window, the folder box and lists included, so it is
// laid over the application's pointers rather than set on the window alone.
void QtForm1View::setMousePointer(commands::MousePointer pointer) {
    if (pointer == pointer_) {
        return;
    }
    if (pointer_ == commands::MousePointer::Hourglass) {
        QGuiApplication::restoreOverrideCursor();
    }
    pointer_ = pointer;
    switch (pointer) {
        case commands::MousePointer::Hourglass:
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            break;
        case commands::MousePointer::Custom:
            if (handCursor_) {
                setCursor(*handCursor_);
                break;
            }
            [[fallthrough]];  // without the cursor file the standard pointer stays
        default:
            unsetCursor();
            break;
    }
}

void QtForm1View::loadHandCursor(const std::string& path) {
    handCursor_ = LoadCursorFile(path);
}

void QtForm1View::paintButtonFace(Control control) {
    QWidget* surface = widget(control);
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    surface->setPalette(palette);
    surface->setAutoFillBackground(true);
}

// The skin file here is a Qt style sheet.
void QtForm1View::applySkin(const std::string& path) {
    QFile skin(ToQString(path));
    if (!skin.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw platform::RuntimeError(platform::error_number::PermissionDenied);
    }
    setStyleSheet(QString::fromUtf8(skin.readAll()));
}

void QtForm1View::showProgramIcon() {
    setWindowIcon(ProgramIcon());
}

platform::PictureRef QtForm1View::programIcon() const {
    return ProgramIconPicture();
}

bool QtForm1View::isWindowVisible() const {
    return QWidget::isVisible();
}

void QtForm1View::runSoon(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

commands::WindowState QtForm1View::windowState() const {
    if (stateWhenShown_) {
        return *stateWhenShown_;
    }
    const Qt::WindowStates state = QWidget::windowState();
    if (state.testFlag(Qt::WindowMinimized)) {
        return commands::WindowState::Minimized;
    }
    return state.testFlag(Qt::WindowMaximized) ? commands::WindowState::Maximized
                                               : commands::WindowState::Normal;
}

void QtForm1View::setWindowState(commands::WindowState state) {
    if (QWidget::isVisible()) {
        QWidget::setWindowState(ToQt(state));
    } else {
        stateWhenShown_ = state;
    }
}

void QtForm1View::hideWindow() {
    hide();
}

void QtForm1View::showWindow() {
    if (stateWhenShown_) {
        QWidget::setWindowState(ToQt(*std::exchange(stateWhenShown_, std::nullopt)));
    }
    show();
    raise();
}

void QtForm1View::focusWindow() {
    raise();
    activateWindow();
}

}  // namespace kestrava::ui::qt
