#include "engine/IntervalSchedule.h"

#include "core/Main.h"
#include "engine/IntervalTable.h"
#include "engine/LoggingCaptions.h"
#include "engine/ScopedFlag.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {
namespace {

bool LoggingIsOn(const LoggingWindow& window) {
    return window.switchCaption() == caption::TurnOff;
}

// The timer stands still from the tick that reaches the interval until the snapshot it
// asked for has been taken, so that ticks never pile up behind a snapshot that takes
// longer than the interval. When another snapshot is running, this one follows it and
// the timer waits for both.
void TakeScheduledSnapshot(LoggingWindow& window, ScheduleCount& count, SnapshotRunner& snapshots,
                           const SnapshotJob& job, platform::EventPump& events,
                           const core::StepTrap& trap) {
    trap.run(118, [&] { window.setTimerInterval(0); });
    trap.run(120, [&] { window.setTimerEnabled(false); });
    trap.run(126, [&] { events.pumpEvents(); });
    // The trap is copied: it only names the report and the tag, which outlive the tick.
    trap.run(128, [&, trap] {
        snapshots.requestSnapshot(job, [&window, &count, &events, trap] {
            trap.run(132, [&] { events.pumpEvents(); });
            trap.run(136, [&] { count.ElapsedSeconds = 0; });
            trap.run(138, [&] { window.setProgressValue(0); });
            // Logging switched off while the snapshot ran stays off.
            trap.run(146,
                     [&] { window.setTimerInterval(LoggingIsOn(window) ? TickMilliseconds : 0); });
            trap.run(148, [&] { window.setTimerEnabled(true); });
        });
    });
}

void CountOneSecond(LoggingWindow& window, ScheduleCount& count, SnapshotRunner& snapshots,
                    const SnapshotJob& job, platform::EventPump& events,
                    const core::StepTrap& trap) {
    trap.run(102, [&] { count.TotalSeconds = IntervalSeconds(window); });
    trap.run(104, [&] { ++count.ElapsedSeconds; });
    const std::int32_t total = count.TotalSeconds.value_or(0);
    trap.run(106, [&] { window.setProgressMaximum(total); });
    if (count.ElapsedSeconds <= total) {
        trap.run(110, [&] { window.setProgressValue(count.ElapsedSeconds); });
    }
    trap.run(112, [&] {
        window.setStatusLine(std::string(caption::NextLogIn) +
                             core::FormatCountdown(total - count.ElapsedSeconds));
    });
    trap.run(114, [&] { events.pumpEvents(); });
    // A count beyond the total (the interval became shorter without a new choice) counts
    // as reached; otherwise no scheduled snapshot would ever come again.
    if (total > 0 && count.ElapsedSeconds >= total) {
        TakeScheduledSnapshot(window, count, snapshots, job, events, trap);
    }
}

}  // namespace

std::int32_t IntervalSecondsOf(std::string_view caption) {
    for (const Interval& interval : Intervals) {
        if (interval.caption == caption) {
            return interval.seconds;
        }
    }
    return 0;
}

std::int32_t IntervalSeconds(const LoggingWindow& window) {
    const auto caption = window.selectedIntervalCaption();
    if (!caption) {
        throw platform::RuntimeError(platform::error_number::ObjectNotSet);
    }
    return IntervalSecondsOf(*caption);
}

void Timer1_Timer(LoggingWindow& window, ScheduleCount& count, SnapshotRunner& snapshots,
                  const SnapshotJob& job, platform::EventPump& events, const core::StepTrap& trap) {
    if (count.tickRunning) {
        return;
    }
    const ScopedFlag running(count.tickRunning);
    if (window.timerInterval() == 0) {
        trap.run(150, [&] { window.setStatusLine(std::string(caption::SwitchedOff)); });
        return;
    }
    // Without a selected interval there is nothing to count towards. That is reported
    // once, not every second: a modal box a second would leave no way to choose one.
    if (!window.selectedIntervalCaption()) {
        if (!count.missingIntervalReported) {
            count.missingIntervalReported = true;
            trap.run(102, [&] { count.TotalSeconds = IntervalSeconds(window); });
        }
        return;
    }
    count.missingIntervalReported = false;
    CountOneSecond(window, count, snapshots, job, events, trap);
}

}  // namespace kestrava::engine
