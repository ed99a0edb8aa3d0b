#pragma once

#include <QTreeWidgetItem>

#include "engine/LoggingWindow.h"

namespace kestrava::app {

class Form1;

// The main window's controls as automatic logging drives them.
class FormLoggingWindow : public engine::LoggingWindow {
public:
    explicit FormLoggingWindow(Form1& form) : form_(form) {}

    std::string switchCaption() const override;
    void setSwitchCaption(const std::string& caption) override;
    int timerInterval() const override;
    void setTimerInterval(int milliseconds) override;
    void setTimerEnabled(bool enabled) override;
    void setStatusLine(const std::string& caption) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setProgressText(const std::string& text) override;
    std::optional<int> selectedIntervalRow() const override;
    std::optional<std::string> selectedIntervalCaption() const override;
    void showBusyPointer(bool busy) override;
    void takeSnapshot(std::function<void()> afterwards) override;

private:
    QTreeWidgetItem* selectedInterval() const;

    Form1& form_;
    int busyRequests_ = 0;
};

}  // namespace kestrava::app
