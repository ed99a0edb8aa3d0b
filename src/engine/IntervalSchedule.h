#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/StepTrap.h"
#include "engine/LoggingWindow.h"
#include "engine/SnapshotRunner.h"
#include "platform/EventPump.h"

namespace kestrava::engine {

inline constexpr int TickMilliseconds = 1000;

// The count towards the next scheduled snapshot; it lives with the window.
struct ScheduleCount {
    std::int32_t ElapsedSeconds = 0;
    std::optional<std::int32_t> TotalSeconds;  // none until the first tick or interval choice
    bool tickRunning = false;                  // ticks never nest
    bool missingIntervalReported = false;      // reported once until an interval is chosen
};

// The seconds of an interval caption; 0 for a caption that names no interval.
std::int32_t IntervalSecondsOf(std::string_view caption);

// The seconds of the interval selected on the window.
// Throws RuntimeError 91 when no interval is selected.
std::int32_t IntervalSeconds(const LoggingWindow& window);

// One tick of the timer: counts a second, shows the time left and the progress, and
// takes the snapshot of the job when the count reaches the interval. Steps run through
// the trap. A tick that comes while another still runs (behind an error report, say)
// is skipped.
void Timer1_Timer(LoggingWindow& window, ScheduleCount& count, SnapshotRunner& snapshots,
                  const SnapshotJob& job, platform::EventPump& events, const core::StepTrap& trap);

}  // namespace kestrava::engine
