#pragma once

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace kestrava::testing {

// The platform's real file system, and its locale as an English (United States) user
// has it, for tests of the engine that hold on every platform. Each platform defines
// it in its own folder (support/posix/, support/win32/).
class NativeSeams {
public:
    NativeSeams();
    ~NativeSeams();
    NativeSeams(const NativeSeams&) = delete;
    NativeSeams& operator=(const NativeSeams&) = delete;

    platform::FileSystem& fileSystem();
    const platform::Locale& englishLocale();

private:
    struct Seams;
    std::unique_ptr<Seams> seams_;
};

}  // namespace kestrava::testing
