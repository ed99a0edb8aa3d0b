#pragma once

#include "platform/Services.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32SettingsBackend.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32StartupRegistry.h"

namespace kestrava::ui::win32 {

// The real implementation of every seam, as the program runs on Windows.
struct RealServices {
    platform::Win32FileSystem fileSystem;
    platform::Win32SettingsBackend settingsBackend;
    platform::Win32EventPump events;
    platform::Win32Dialogs dialogs{events};
    platform::Win32Shell shell;
    platform::Win32Clock clock;
    platform::Win32Environment environment;
    platform::Win32Clipboard clipboard;
    platform::Win32Locale locale;
    platform::Win32NotifyArea notifyArea;
    platform::Win32StartupRegistry startupRegistry;
    platform::Services services{fileSystem, settingsBackend, dialogs,        shell,
                                events,     clock,           environment,    clipboard,
                                locale,     notifyArea,      startupRegistry};
};

}  // namespace kestrava::ui::win32
