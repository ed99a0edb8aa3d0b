#include "engine/LoggingControls.h"

#include <string>

#include "engine/LoggingCaptions.h"

namespace kestrava::engine {

namespace {

// The On/Off switch's steps, as its error report numbers them.
namespace switch_step {
constexpr int CaptionOff = 102;
constexpr int StartTicking = 104;
constexpr int StoreOn = 106;
constexpr int CaptionOn = 110;
constexpr int StopTicking = 112;
constexpr int StoreOff = 114;
}  // namespace switch_step

// "Log Current Status Now (Test)"'s steps, as its error report numbers them.
namespace log_now_step {
constexpr int LetEventsRun = 102;
constexpr int ShowTheBusyPointer = 104;
constexpr int TakeTheSnapshot = 106;
constexpr int RestoreThePointer = 108;
constexpr int ResetTheBar = 110;
}  // namespace log_now_step

}  // namespace

void ToggleAutomaticLogging(LoggingWindow& window, settings::SettingsStore& settings,
                            const core::StepTrap& trap) {
    const std::string offered = window.switchCaption();
    // The caption the switch has before start-up gives it a state says "on" too: a
    // stored state that is neither "On" nor "Off" must not leave it dead.
    if (offered == caption::TurnOn || offered == caption::SwitchAtDesign) {
        trap.run(switch_step::CaptionOff,
                 [&] { window.setSwitchCaption(std::string(caption::TurnOff)); });
        trap.run(switch_step::StartTicking, [&] { window.setTimerInterval(TickMilliseconds); });
        trap.run(switch_step::StoreOn,
                 [&] { settings.write(settings::Setting::StartStopState, settings::On); });
    } else if (offered == caption::TurnOff) {
        trap.run(switch_step::CaptionOn,
                 [&] { window.setSwitchCaption(std::string(caption::TurnOn)); });
        trap.run(switch_step::StopTicking, [&] { window.setTimerInterval(0); });
        trap.run(switch_step::StopTicking,
                 [&] { window.setStatusLine(std::string(caption::SwitchedOff)); });
        trap.run(switch_step::StoreOff,
                 [&] { settings.write(settings::Setting::StartStopState, settings::Off); });
    }
}

void LogCurrentStatusNow(LoggingWindow& window, SnapshotRunner& snapshots, const SnapshotJob& job,
                         platform::EventPump& events, const core::StepTrap& trap) {
    trap.run(log_now_step::LetEventsRun, [&] { events.pumpEvents(); });
    trap.run(log_now_step::ShowTheBusyPointer, [&] { window.showBusyPointer(true); });
    // The pointer stays busy until this click's own snapshot has been taken, also when
    // it has to follow one that is running. The trap is copied: it outlives the click.
    trap.run(log_now_step::TakeTheSnapshot, [&, trap] {
        snapshots.requestSnapshot(job, [&window, trap] {
            trap.run(log_now_step::RestoreThePointer, [&] { window.showBusyPointer(false); });
            trap.run(log_now_step::ResetTheBar, [&] { window.setProgressValue(0); });
            trap.run(log_now_step::ResetTheBar,
                     [&] { window.setProgressText(std::string(caption::ProgressBar)); });
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
