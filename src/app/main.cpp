#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/Form1.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEnvironment.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtLocale.h"
#include "platform/qt/QtSettingsBackend.h"
#include "platform/qt/QtShell.h"

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Without a display Qt would abort with a long message about platform plugins.
bool DisplayIsAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayIsAvailable()) {
        std::fprintf(stderr,
                     "Kestrava needs a graphical display and none is set (DISPLAY is empty); "
                     "to run it without a screen: xvfb-run -a %s\n",
                     argv[0]);
        return EXIT_FAILURE;
    }
    QApplication application(argc, argv);

    kestrava::platform::PosixFileSystem fileSystem;
    kestrava::platform::QtSettingsBackend settingsBackend;
    kestrava::platform::QtDialogs dialogs;
    kestrava::platform::QtShell shell;
    kestrava::platform::QtEventPump events;
    kestrava::platform::SystemClock clock;
    kestrava::platform::QtEnvironment environment;
    kestrava::platform::QtLocale locale;
    kestrava::platform::Services services{fileSystem, settingsBackend, dialogs,     shell,
                                          events,     clock,           environment, locale};

    kestrava::app::Form1 form(services);
    dialogs.setOwner(&form);
    form.Form_Load();
    form.showAfterLoad();
    return QApplication::exec();
}
