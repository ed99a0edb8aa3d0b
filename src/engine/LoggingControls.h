#pragma once

#include "core/StepTrap.h"
#include "engine/IntervalSchedule.h"
#include "engine/LoggingWindow.h"
#include "engine/SnapshotRunner.h"
#include "platform/EventPump.h"
#include "settings/SettingsStore.h"

// What the logging controls do: the On/Off switch, "Log Current Status Now (Test)" and
// the choice of interval. The folder box stores itself as it changes.
namespace kestrava::engine {

// Turns automatic logging on or off, as the switch's caption offers. The count stays
// where it is, so logging resumes where it stood.
void ToggleAutomaticLogging(LoggingWindow& window, settings::SettingsStore& settings,
                            const core::StepTrap& trap);

// Takes a snapshot of the job now, with the busy pointer up. The schedule goes on
// untouched.
void LogCurrentStatusNow(LoggingWindow& window, SnapshotRunner& snapshots, const SnapshotJob& job,
                         platform::EventPump& events, const core::StepTrap& trap);

// Stores the selected interval and counts from the start towards it. Without a selected
// row nothing changes.
void ChooseInterval(const LoggingWindow& window, ScheduleCount& count,
                    settings::SettingsStore& settings);

}  // namespace kestrava::engine
