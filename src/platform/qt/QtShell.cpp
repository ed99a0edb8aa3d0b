#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"

namespace kestrava::platform {

void QtShell::startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList qtArguments;
    for (const auto& argument : arguments) {
        qtArguments << ToQString(argument);
    }
    if (!QProcess::startDetached(ToQString(program), qtArguments)) {
        throw RuntimeError(error_number::FileNotFound);
    }
}

void QtShell::viewTextFile(const std::string& path) {
#ifdef Q_OS_WIN
    startDetached("notepad", {path});
#else
    // xdg-open hands the file to the desktop's viewer for its type; unlike
    // QDesktopServices, starting it directly tells when there is nothing to start.
    startDetached("xdg-open", {path});
#endif
}

void QtShell::openAddress(const std::string& address) {
    const QString text = ToQString(address);
    const QUrl url = text.startsWith(u'/') ? QUrl::fromLocalFile(text) : QUrl(text);
    if (!QDesktopServices::openUrl(url)) {
        throw RuntimeError(error_number::FileNotFound);
    }
}

}  // namespace kestrava::platform
