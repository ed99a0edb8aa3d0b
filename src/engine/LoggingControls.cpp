#include "engine/LoggingControls.h"

#include <string>

#include "engine/LoggingCaptions.h"

namespace kestrava::engine {

void ToggleAutomaticLogging(LoggingWindow& window, settings::SettingsStore& settings,
                            const core::StepTrap& trap) {
    const std::string offered = window.switchCaption();
    if (offered == caption::TurnOn) {
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

void LogCurrentStatusNow(LoggingWindow& window, platform::EventPump& events,
                         const core::StepTrap& trap) {
    trap.run(102, [&] { events.pumpEvents(); });
    trap.run(104, [&] { window.showBusyPointer(true); });
    trap.run(106, [&] { window.takeSnapshot(); });
    trap.run(108, [&] { window.showBusyPointer(false); });
    trap.run(110, [&] { window.setProgressValue(0); });
    trap.run(110, [&] { window.setProgressText(std::string(caption::ProgressBar)); });
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
