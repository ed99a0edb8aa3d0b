#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/Form1.h"
#include "ui/qt/QtForm1View.h"
#include "ui/qt/RealServices.h"

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

int main(int /*argc*/, char* argv[]) {
    if (!DisplayIsAvailable()) {
        std::fprintf(stderr,
                     "Kestrava needs a graphical display and none is set (DISPLAY is empty); "
                     "to run it without a screen: xvfb-run -a %s\n",
                     argv[0]);
        return EXIT_FAILURE;
    }
    // The program reads no command line, and Qt's own options (-platform, -stylesheet,
    // ...) must not reach Qt through it either: only the program's name does.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    // The program ends through the window's close handling only: a window hidden in
    // the tray is no reason to end, nor is a message box closing meanwhile.
    QApplication::setQuitOnLastWindowClosed(false);
    kestrava::ui::qt::RealServices real;
    kestrava::ui::qt::QtForm1View view;
    kestrava::app::Form1 form(view, real.services);
    view.attach(form);
    real.dialogs.setOwner(&view);
    // An end that didn't come through the window's close (Qt quitting as the session
    // ends) still stops logging and takes the icon out of the tray.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &view, [&form, &view] {
        if (form.cSysTray1.InTray()) {
            view.close();
        }
    });
    form.Form_Load();
    form.Show();
    return QApplication::exec();
}
