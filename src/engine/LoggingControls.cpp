#include "engine/LoggingControls.h"

#include <string>

#include "engine/LoggingCaptions.h"

namespace kestrava::engine {

void ToggleAutomaticLogging(LoggingWindow& window, settings::SettingsStore& settings,
                            const core::StepTrap& trap) {
    const std::string offered = window.switchCaption();
    // The caption the switch has before start-up gives it a state says "on" too: a
    // stored state that is neither "On" nor "Off" must not leave it dead.
    if (offered == caption::TurnOn || offered == caption::SwitchAtDesign) {
        trap.run(102, [&] { window.setSwitchCaption(std::string(caption::TurnOff)); });
        trap.run(104, [&] { window.setTimerInterval(TickMilliseconds); });
        trap.run(106, [&] { settings.write(settings::Setting::StartStopState, settings::On); });
    } else if (offered == caption::TurnOff) {
        trap.run(110, [&] { window.setSwitchCaption(std::string(caption::TurnOn)); });
        trap.run(112, [&] { window.setTimerInterval(0); });
        trap.run(112, [&] { window.setStatusLine(std::string(caption::SwitchedOff)); });
        trap.run(114, [&] { settings.write(settings::Setting::StartStopState, settings::Off); });
    }
}

void LogCurrentStatusNow(LoggingWindow& window, SnapshotRunner& snapshots, const SnapshotJob& job,
                         platform::EventPump& events, const core::StepTrap& trap) {
    trap.run(102, [&] { events.pumpEvents(); });
    trap.run(104, [&] { window.showBusyPointer(true); });
    // The pointer stays busy until this click's own snapshot has been taken, also when
    // it has to follow one that is running. The trap is copied: it outlives the click.
    trap.run(106, [&, trap] {
        snapshots.requestSnapshot(job, [&window, trap] {
            trap.run(108, [&] { window.showBusyPointer(false); });
            trap.run(110, [&] { window.setProgressValue(0); });
            trap.run(110, [&] { window.setProgressText(std::string(caption::ProgressBar)); });
        });
    });
}

void ChooseInterval(const LoggingWindow& window, ScheduleCount& count,
                    settings::SettingsStore& settings) {
    const auto row = window.selectedIntervalRow();
    if (!row) {
        return;
    }
    settings.write(settings::Setting::OftenIndex, std::to_string(*row));
    count.TotalSeconds = IntervalSeconds(window);
    count.ElapsedSeconds = 0;
}

}  // namespace kestrava::engine
