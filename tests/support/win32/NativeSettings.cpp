#include "support/NativeSettings.h"

#include "platform/win32/Win32SettingsBackend.h"
#include "support/win32/TestRegistryKey.h"

namespace kestrava::testing {

struct NativeSettings::Place {
    TestRegistryKey key;
    platform::Win32SettingsBackend backend{key.path()};
};

NativeSettings::NativeSettings() : place_(std::make_unique<Place>()) {}
NativeSettings::~NativeSettings() = default;

platform::SettingsBackend& NativeSettings::backend() {
    return place_->backend;
}

}  // namespace kestrava::testing
