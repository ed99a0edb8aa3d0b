#include <iostream>
#include <string>
#include <vector>

#include "cli/Dispatch.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtEnvironment.h"
#include "platform/qt/QtLocale.h"

// The locale's date texts come from Qt's locale data, as the window's do, so that a
// snapshot writes the window's very bytes; nothing else of Qt is needed, and no display.
int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    kestrava::platform::PosixFileSystem fileSystem;
    kestrava::platform::QtEnvironment environment;
    kestrava::platform::SystemClock clock;
    kestrava::platform::QtLocale locale;
    return kestrava::cli::Dispatch(arguments, {fileSystem, environment, clock, locale}, std::cout,
                                   std::cerr);
}
