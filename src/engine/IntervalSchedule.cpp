#include "engine/IntervalSchedule.h"

#include "core/Main.h"
#include "engine/IntervalTable.h"
#include "engine/LoggingCaptions.h"
#include "engine/ScopedFlag.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {
namespace {

// The tick's steps, as its error report numbers them.
namespace step {
constexpr int ReadTheInterval = 102;
constexpr int CountTheSecond = 104;
constexpr int SetTheBarsMaximum = 106;
constexpr int SetTheBarsValue = 110;
constexpr int ShowTheTimeLeft = 112;
constexpr int LetEventsRun = 114;
constexpr int StopTheTimer = 118;
constexpr int DisableTheTimer = 120;
constexpr int LetEventsRunBeforeTheSnapshot = 126;
constexpr int TakeTheSnapshot = 128;
constexpr int LetEventsRunAfterTheSnapshot = 132;
constexpr int ResetTheCount = 136;
constexpr int ResetTheBar = 138;
constexpr int RestartTheTimer = 146;
constexpr int EnableTheTimer = 148;
constexpr int SayLoggingIsOff = 150;
}  // namespace step

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
    trap.run(step::StopTheTimer, [&] { window.setTimerInterval(0); });
    trap.run(step::DisableTheTimer, [&] { window.setTimerEnabled(false); });
    trap.run(step::LetEventsRunBeforeTheSnapshot, [&] { events.pumpEvents(); });
    // The trap is copied: it only names the report and the tag, which outlive the tick.
    trap.run(step::TakeTheSnapshot, [&, trap] {
        snapshots.requestSnapshot(job, [&window, &count, &events, trap] {
            trap.run(step::LetEventsRunAfterTheSnapshot, [&] { events.pumpEvents(); });
            trap.run(step::ResetTheCount, [&] { count.ElapsedSeconds = 0; });
            trap.run(step::ResetTheBar, [&] { window.setProgressValue(0); });
            // Logging switched off while the snapshot ran stays off.
            trap.run(step::RestartTheTimer,
                     [&] { window.setTimerInterval(LoggingIsOn(window) ? TickMilliseconds : 0); });
            trap.run(step::EnableTheTimer, [&] { window.setTimerEnabled(true); });
        });
    });
}

void CountOneSecond(LoggingWindow& window, ScheduleCount& count, SnapshotRunner& snapshots,
                    const SnapshotJob& job, platform::EventPump& events,
                    const core::StepTrap& trap) {
    trap.run(step::ReadTheInterval, [&] { count.TotalSeconds = IntervalSeconds(window); });
    trap.run(step::CountTheSecond, [&] { ++count.ElapsedSeconds; });
    const std::int32_t total = count.TotalSeconds.value_or(0);
    trap.run(step::SetTheBarsMaximum, [&] { window.setProgressMaximum(total); });
    if (count.ElapsedSeconds <= total) {
        trap.run(step::SetTheBarsValue, [&] { window.setProgressValue(count.ElapsedSeconds); });
    }
    trap.run(step::ShowTheTimeLeft, [&] {
        window.setStatusLine(std::string(caption::NextLogIn) +
                             core::FormatCountdown(total - count.ElapsedSeconds));
    });
    trap.run(step::LetEventsRun, [&] { events.pumpEvents(); });
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
        trap.run(step::SayLoggingIsOff,
                 [&] { window.setStatusLine(std::string(caption::SwitchedOff)); });
        return;
    }
    // Without a selected interval there is nothing to count towards. That is reported
    // once, not every second: a modal box a second would leave no way to choose one.
    if (!window.selectedIntervalCaption()) {
        if (!count.missingIntervalReported) {
            count.missingIntervalReported = true;
            trap.run(step::ReadTheInterval, [&] { count.TotalSeconds = IntervalSeconds(window); });
        }
        return;
    }
    count.missingIntervalReported = false;
    CountOneSecond(window, count, snapshots, job, events, trap);
}

}  // namespace kestrava::engine
