#include "ui/qt/IntervalTimer.h"

namespace kestrava::ui::qt {

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &IntervalTimer::tick);
}

void IntervalTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    restart();
}

void IntervalTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    restart();
}

void IntervalTimer::restart() {
    if (enabled_ && interval_ > 0) {
        timer_.start(interval_);
    } else {
        timer_.stop();
    }
}

}  // namespace kestrava::ui::qt
