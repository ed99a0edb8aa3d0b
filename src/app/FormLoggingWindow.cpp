#include "app/FormLoggingWindow.h"

#include "app/Form1.h"
#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"

namespace kestrava::app {

using platform::FromQString;
using platform::ToQString;

std::string FormLoggingWindow::switchCaption() const {
    return FromQString(form_.PushButton5->text());
}

void FormLoggingWindow::setSwitchCaption(const std::string& caption) {
    form_.PushButton5->setText(ToQString(caption));
}

int FormLoggingWindow::timerInterval() const {
    return form_.Timer1->interval();
}

void FormLoggingWindow::setTimerInterval(int milliseconds) {
    form_.Timer1->setInterval(milliseconds);
}

void FormLoggingWindow::setTimerEnabled(bool enabled) {
    form_.Timer1->setEnabled(enabled);
}

void FormLoggingWindow::setStatusLine(const std::string& caption) {
    form_.Frame1->setTitle(ToQString(caption));
}

// A bar whose maximum is not above its minimum has no range to show.
void FormLoggingWindow::setProgressMaximum(int maximum) {
    if (maximum <= form_.ProgressBar1->minimum()) {
        throw platform::RuntimeError(platform::error_number::InvalidPropertyValue);
    }
    form_.ProgressBar1->setMaximum(maximum);
}

void FormLoggingWindow::setProgressValue(int value) {
    form_.ProgressBar1->setValue(value);
}

void FormLoggingWindow::setProgressText(const std::string& text) {
    form_.ProgressBar1->setFormat(ToQString(text));
}

QTreeWidgetItem* FormLoggingWindow::selectedInterval() const {
    const auto selected = form_.ListView2->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

std::optional<int> FormLoggingWindow::selectedIntervalRow() const {
    QTreeWidgetItem* row = selectedInterval();
    if (row == nullptr) {
        return std::nullopt;
    }
    return form_.ListView2->indexOfTopLevelItem(row) + 1;
}

std::optional<std::string> FormLoggingWindow::selectedIntervalCaption() const {
    QTreeWidgetItem* row = selectedInterval();
    if (row == nullptr) {
        return std::nullopt;
    }
    return FromQString(row->text(0));
}

void FormLoggingWindow::showBusyPointer(bool busy) {
    busyRequests_ += busy ? 1 : -1;
    form_.setMousePointer(busyRequests_ > 0 ? commands::MousePointer::Hourglass
                                            : commands::MousePointer::Default);
}

void FormLoggingWindow::takeSnapshot(std::function<void()> afterwards) {
    form_.LogFilesNow(std::move(afterwards));
}

}  // namespace kestrava::app
