// The settings store's reading over the real settings file, on any bytes as a hand-edited
// or foreign file may hold. Beyond not crashing, what must hold: every key reads as some
// value, and a value read is stored and read back the same (so that a setting the
// program read is never lost when it writes it back).
// The time per input and the memory are bounded by the fuzzing command (scripts/fuzz.sh).

#include <QSettings>
#include <QString>
#include <array>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "platform/qt/QtSettingsBackend.h"
#include "settings/SettingsStore.h"

namespace kestrava::fuzz {
namespace {

using settings::Setting;

constexpr std::array EveryKey{Setting::Text1,          Setting::OftenIndex, Setting::StartStopState,
                              Setting::WindowsStartup, Setting::Minimized,  Setting::LastFolder,
                              Setting::LastFolderDot};

// Each input gets a folder of its own: the settings files already read stay cached by
// their paths, and a file of the same size and time would be taken for the one before.
std::filesystem::path SettingsFolder(const char* kind) {
    static std::uint64_t inputs = 0;
    const auto folder = ProcessFolder() / (kind + std::to_string(++inputs));
    std::filesystem::create_directory(folder);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(folder.string()));
    return folder;
}

// What a setting reads as where the file has none.
constexpr std::string_view Absent = "\x01 absent";

void ReadSettings(std::string_view bytes) {
    const auto read = SettingsFolder("read");
    WriteFile(read / "Velquist.conf", bytes);
    platform::QtSettingsBackend backend;
    settings::SettingsStore store(backend);
    std::array<std::string, EveryKey.size()> values;
    for (std::size_t key = 0; key < EveryKey.size(); ++key) {
        values[key] = store.read(EveryKey[key], Absent);
        store.read(EveryKey[key]);
    }

    // Writing syncs the file each time: only the values the file held are written.
    const auto written = SettingsFolder("written");
    for (std::size_t key = 0; key < EveryKey.size(); ++key) {
        if (values[key] != Absent) {
            store.write(EveryKey[key], values[key]);
            Require(store.read(EveryKey[key], Absent) == values[key],
                    "a value read is written and read back the same");
        }
    }
    std::filesystem::remove_all(read);
    std::filesystem::remove_all(written);
}

}  // namespace
}  // namespace kestrava::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrava::fuzz::ReadSettings(kestrava::fuzz::Bytes(data, size));
    return 0;
}
