#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

namespace kestrava::platform {

void QtEventPump::pumpEvents() {
    endHereIfEnding();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < MinimumGap) {
        return;
    }
    QCoreApplication::processEvents();
    lastPump_ = std::chrono::steady_clock::now();
    endHereIfEnding();
}

// The event loop sleeps until something arrives; the timer makes sure that
// something arrives in time.
void QtEventPump::waitForEvents(std::chrono::milliseconds longest) {
    endHereIfEnding();
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(std::max(longest, std::chrono::milliseconds(0)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    lastPump_ = std::chrono::steady_clock::now();
    endHereIfEnding();
}

// With nothing of the program's own under way the event loop returns and the program
// ends as usual (its clipboard handed to a clipboard manager, say). Work under way is
// ended at its next pump instead of being unwound: nothing of it may run after the
// close, neither a line of the log nor a message box.
void QtEventPump::endProgram() {
    ending_ = true;
    QCoreApplication::quit();
}

void QtEventPump::endHereIfEnding() const {
    if (ending_) {
        std::_Exit(EXIT_SUCCESS);
    }
}

}  // namespace kestrava::platform
