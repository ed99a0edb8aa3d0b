#include "support/NativeSeams.h"

#include <QLocale>

#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtLocale.h"

namespace kestrava::testing {

struct NativeSeams::Seams {
    platform::PosixFileSystem fileSystem;
    platform::QtLocale locale{QLocale(QLocale::English, QLocale::UnitedStates)};
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
