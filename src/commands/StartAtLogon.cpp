#include "commands/StartAtLogon.h"

#include "commands/StartupEntry.h"

namespace kestrava::commands {
namespace {

void Tell(platform::Dialogs& dialogs, std::string_view message,
          const platform::RuntimeError& failure, const std::string& appTitle) {
    dialogs.showMessage({std::string(message) + " (" + failure.description() + ").", appTitle,
                         platform::MessageButtons::Ok, platform::MessageIcon::None});
}

}  // namespace

bool TurnOnStartAtLogon(settings::SettingsStore& settings, platform::Services& services,
                        const std::string& appTitle) {
    settings.write(settings::Setting::WindowsStartup, settings::On);
    const StartupEntryResult result =
        AddStartupEntry(services.startupRegistry, services.environment);
    if (result.written()) {
        return true;
    }
    Tell(services.dialogs, NotRegisteredMessage, *result.failure, appTitle);
    return false;
}

void TurnOffStartAtLogon(settings::SettingsStore& settings, platform::Services& services,
                         const std::string& appTitle) {
    settings.write(settings::Setting::WindowsStartup, settings::Off);
    if (const auto failure = RemoveStartupEntry(services.startupRegistry, services.environment)) {
        Tell(services.dialogs, NotUnregisteredMessage, *failure, appTitle);
    }
}

}  // namespace kestrava::commands
