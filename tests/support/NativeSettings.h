#pragma once

#include <memory>

#include "platform/SettingsBackend.h"

namespace kestrava::testing {

// The platform's real settings store, kept in a place of its own for the test's life
// and removed afterwards, so that each test starts from an empty store and leaves the
// user's alone. Each platform defines it in its own folder (support/posix/,
// support/win32/).
class NativeSettings {
public:
    NativeSettings();
    ~NativeSettings();
    NativeSettings(const NativeSettings&) = delete;
    NativeSettings& operator=(const NativeSettings&) = delete;

    platform::SettingsBackend& backend();

private:
    struct Place;
    std::unique_ptr<Place> place_;
};

}  // namespace kestrava::testing
