#pragma once

#include <optional>
#include <string>

namespace kestrava::engine {

// What automatic logging reads and drives on the main window: the switch, the timer,
// the status line, the progress bar, the interval list and the pointer.
class LoggingWindow {
public:
    virtual ~LoggingWindow() = default;

    // The switch's caption carries the logging state: it offers the opposite action.
    virtual std::string switchCaption() const = 0;
    virtual void setSwitchCaption(const std::string& caption) = 0;

    // The timer ticks every interval milliseconds while enabled; 0 stops it.
    virtual int timerInterval() const = 0;
    virtual void setTimerInterval(int milliseconds) = 0;
    virtual void setTimerEnabled(bool enabled) = 0;

    virtual void setStatusLine(const std::string& caption) = 0;

    // Throws RuntimeError when the maximum is not above the bar's minimum, 0.
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void setProgressText(const std::string& text) = 0;

    // The selected interval row, counted from 1, and its caption; nothing when no row
    // is selected.
    virtual std::optional<int> selectedIntervalRow() const = 0;
    virtual std::optional<std::string> selectedIntervalCaption() const = 0;

    // The busy pointer shows over the whole window from the first true to the matching
    // false: a manual snapshot asked for during another keeps it up until both are done.
    virtual void showBusyPointer(bool busy) = 0;
};

}  // namespace kestrava::engine
