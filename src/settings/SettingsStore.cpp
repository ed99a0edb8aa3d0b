#include "settings/SettingsStore.h"

#include <array>

namespace kestrava::settings {
namespace {

constexpr std::string_view Application = "Velquist";
constexpr std::string_view Section = "Kestrava";

struct KeyEntry {
    Setting setting;
    std::string_view key;
    std::string_view defaultValue;
};

// "Text1" has no fixed default: it is the desktop folder, which its reader passes in.
constexpr std::array<KeyEntry, 7> KeyTable{{
    {Setting::Text1, "Text1", ""},
    {Setting::OftenIndex, "OftenIndex", "9"},
    {Setting::StartStopState, "StartStopState", On},
    {Setting::WindowsStartup, "Windows Startup", Off},
    {Setting::Minimized, "Minimized", Off},
    {Setting::LastFolder, "LastFolder", ""},
    {Setting::LastFolderDot, "LastFolderDot", ""},
}};

constexpr bool TableFollowsEnumOrder() {
    for (std::size_t i = 0; i < KeyTable.size(); ++i) {
        if (static_cast<std::size_t>(KeyTable[i].setting) != i) {
            return false;
        }
    }
    return true;
}
static_assert(TableFollowsEnumOrder(), "EntryFor() indexes the table by Setting");

const KeyEntry& EntryFor(Setting setting) {
    return KeyTable[static_cast<std::size_t>(setting)];
}

}  // namespace

std::string SettingsStore::read(Setting setting) const {
    return read(setting, EntryFor(setting).defaultValue);
}

std::string SettingsStore::read(Setting setting, std::string_view defaultValue) const {
    return backend_.read(std::string(Application), std::string(Section),
                         std::string(EntryFor(setting).key), std::string(defaultValue));
}

void SettingsStore::write(Setting setting, std::string_view value) {
    backend_.write(std::string(Application), std::string(Section),
                   std::string(EntryFor(setting).key), std::string(value));
}

}  // namespace kestrava::settings
