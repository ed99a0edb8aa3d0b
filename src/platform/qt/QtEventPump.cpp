#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace kestrava::platform {

void QtEventPump::pumpEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < MinimumGap) {
        return;
    }
    QCoreApplication::processEvents();
    lastPump_ = std::chrono::steady_clock::now();
}

// The event loop sleeps until something arrives; the timer makes sure that
// something arrives in time.
void QtEventPump::waitForEvents(std::chrono::milliseconds longest) {
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(std::max(longest, std::chrono::milliseconds(0)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    lastPump_ = std::chrono::steady_clock::now();
}

}  // namespace kestrava::platform
