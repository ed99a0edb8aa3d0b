#pragma once

#include "platform/Services.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEnvironment.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtSettingsBackend.h"
#include "platform/qt/QtShell.h"

namespace kestrava::app {

// The real implementation of every seam, as the program runs on this platform.
struct RealServices {
    platform::PosixFileSystem fileSystem;
    platform::QtSettingsBackend settingsBackend;
    platform::QtDialogs dialogs;
    platform::QtShell shell;
    platform::QtEventPump events;
    platform::SystemClock clock;
    platform::QtEnvironment environment;
    platform::QtClipboard clipboard;
    platform::QtLocale locale;
    platform::Services services{fileSystem, settingsBackend, dialogs,   shell,  events,
                                clock,      environment,     clipboard, locale};
};

}  // namespace kestrava::app
