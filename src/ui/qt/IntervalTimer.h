#pragma once

#include <QObject>
#include <QTimer>

namespace kestrava::ui::qt {

// A timer that ticks every interval milliseconds while it is enabled and its
// interval is above 0; an interval of 0 stops it without disabling it.
// Changing either property starts the count of the next tick afresh.
class IntervalTimer : public QObject {
    Q_OBJECT

public:
    explicit IntervalTimer(QObject* parent = nullptr);

    int interval() const { return interval_; }
    void setInterval(int milliseconds);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    bool isTicking() const { return timer_.isActive(); }

signals:
    void tick();

private:
    void restart();

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = true;
};

}  // namespace kestrava::ui::qt
