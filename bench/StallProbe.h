#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace kestrava::bench {

// A timer that asks to run every 10 ms and remembers the longest time the event loop
// went without running it: how long the window was frozen at worst.
class StallProbe {
public:
    StallProbe() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }

    void start() {
        longestMs_ = 0;
        sinceLastTick_.start();
        timer_.start();
    }

    // Stops probing; the time since the last tick counts as a stall too.
    double stop() {
        tick();
        timer_.stop();
        return longestMs_;
    }

private:
    void tick() {
        longestMs_ = std::max(longestMs_, static_cast<double>(sinceLastTick_.nsecsElapsed()) / 1e6);
        sinceLastTick_.restart();
    }

    QTimer timer_;
    QElapsedTimer sinceLastTick_;
    double longestMs_ = 0;
};

}  // namespace kestrava::bench
