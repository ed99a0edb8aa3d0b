#pragma once

#include <string>

#include "core/Product.h"
#include "platform/Services.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemClock.h"
#include "platform/posix/XdgAutostartRegistry.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEnvironment.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtNotifyArea.h"
#include "platform/qt/QtSettingsBackend.h"
#include "platform/qt/QtShell.h"

namespace kestrava::ui::qt {

// The real implementation of every seam, as the program runs on this platform.
struct RealServices {
    platform::PosixFileSystem fileSystem;
    platform::QtSettingsBackend settingsBackend;
    platform::QtEventPump events;
    platform::QtDialogs dialogs{events};
    platform::QtShell shell;
    platform::SystemClock clock;
    platform::QtEnvironment environment;
    platform::QtClipboard clipboard;
    platform::QtLocale locale;
    platform::QtNotifyArea notifyArea;
    // The entries name the icon that the installation puts into the icon theme.
    platform::XdgAutostartRegistry startupRegistry{environment, std::string(core::ProductName),
                                                   "kestrava"};
    platform::Services services{fileSystem, settingsBackend, dialogs,        shell,
                                events,     clock,           environment,    clipboard,
                                locale,     notifyArea,      startupRegistry};
};

}  // namespace kestrava::ui::qt
