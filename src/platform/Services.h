#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/NotifyArea.h"
#include "platform/SettingsBackend.h"
#include "platform/Shell.h"
#include "platform/StartupRegistry.h"

namespace kestrava::platform {

// The seams the program works through: the real ones in the program, fakes where a
// test would otherwise block on a modal box, start another program, read the clock or
// put an icon into the desktop's tray.
struct Services {
    FileSystem& fileSystem;
    SettingsBackend& settingsBackend;
    Dialogs& dialogs;
    Shell& shell;
    EventPump& events;
    Clock& clock;
    Environment& environment;
    Clipboard& clipboard;
    Locale& locale;
    NotifyArea& notifyArea;
    StartupRegistry& startupRegistry;
};

}  // namespace kestrava::platform
