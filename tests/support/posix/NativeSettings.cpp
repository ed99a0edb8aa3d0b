#include "support/NativeSettings.h"

#include "platform/qt/QtSettingsBackend.h"
#include "support/SettingsFolder.h"

namespace kestrava::testing {

struct NativeSettings::Place {
    SettingsFolder folder;
    platform::QtSettingsBackend backend;
};

NativeSettings::NativeSettings() : place_(std::make_unique<Place>()) {}
NativeSettings::~NativeSettings() = default;

platform::SettingsBackend& NativeSettings::backend() {
    return place_->backend;
}

}  // namespace kestrava::testing
