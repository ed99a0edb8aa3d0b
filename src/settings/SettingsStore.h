#pragma once

#include <string>
#include <string_view>

#include "platform/SettingsBackend.h"

namespace kestrava::settings {

// Every option that outlives a run.
enum class Setting {
    Text1,           // the folder box's text
    OftenIndex,      // the chosen interval, "1" to "12"
    StartStopState,  // automatic logging, "On" or "Off"
    WindowsStartup,  // start at logon, "On" or "Off"
    Minimized,       // start hidden in the tray, "On" or "Off"
    LastFolder,      // the folder chooser's preselection; never written
    LastFolderDot,   // the folder last chosen in the chooser; never read
};

inline constexpr std::string_view On = "On";
inline constexpr std::string_view Off = "Off";

// The settings of application "Velquist", section "Kestrava". A read never writes
// the default back; a write is stored at once.
class SettingsStore {
public:
    explicit SettingsStore(platform::SettingsBackend& backend) : backend_(backend) {}

    // The stored value, or the setting's default from the key table.
    std::string read(Setting setting) const;

    // The stored value, or the given default: for "Text1", whose default (the
    // desktop folder) only the reader can name.
    std::string read(Setting setting, std::string_view defaultValue) const;

    void write(Setting setting, std::string_view value);

private:
    platform::SettingsBackend& backend_;
};

}  // namespace kestrava::settings
