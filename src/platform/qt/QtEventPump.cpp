#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>

namespace kestrava::platform {

void QtEventPump::pumpEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < MinimumGap) {
        return;
    }
    QCoreApplication::processEvents();
    lastPump_ = std::chrono::steady_clock::now();
}

}  // namespace kestrava::platform
