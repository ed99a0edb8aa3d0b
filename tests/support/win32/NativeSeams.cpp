#include "support/NativeSeams.h"

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"

namespace kestrava::testing {

struct NativeSeams::Seams {
    platform::Win32FileSystem fileSystem;
    platform::Win32Locale locale{"en-US"};
};

NativeSeams::NativeSeams() : seams_(std::make_unique<Seams>()) {}
NativeSeams::~NativeSeams() = default;

platform::FileSystem& NativeSeams::fileSystem() {
    return seams_->fileSystem;
}

const platform::Locale& NativeSeams::englishLocale() {
    return seams_->locale;
}

}  // namespace kestrava::testing
