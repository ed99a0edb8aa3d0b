#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"

namespace kestrava::platform {
namespace {

QStringList ToQStringList(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const auto& argument : arguments) {
        list << ToQString(argument);
    }
    return list;
}

// xdg-open says why it failed in its exit status: 3 when no program handles the file.
RuntimeError ViewerFailure(int exitStatus) {
    return RuntimeError(exitStatus == 3 ? error_number::FileNotFound
                                        : error_number::PathFileAccessError);
}

}  // namespace

// A viewer that still runs when the program ends reports nothing any more: nothing is
// left to report to.
QtShell::~QtShell() {
    for (QProcess* viewer : viewers_.findChildren<QProcess*>()) {
        viewer->disconnect();
    }
}

void QtShell::startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    if (!QProcess::startDetached(ToQString(program), ToQStringList(arguments))) {
        throw RuntimeError(error_number::FileNotFound);
    }
}

// xdg-open hands the file to the desktop's viewer for its type; unlike
// QDesktopServices, running it as a child of ours tells when there is nothing to start.
// Its exit is awaited by the event loop, never by the window: on some desktops it only
// ends when the viewer does.
void QtShell::viewTextFile(const std::string& path, LateFailure whenItFails) {
    auto* viewer = new QProcess(&viewers_);
    viewer->setProgram(QStringLiteral("xdg-open"));
    viewer->setArguments({ToQString(path)});
    viewer->setStandardInputFile(QProcess::nullDevice());
    viewer->setStandardOutputFile(QProcess::nullDevice());
    viewer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(viewer, &QProcess::finished, viewer,
                     [viewer, whenItFails](int exitCode, QProcess::ExitStatus status) {
                         viewer->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0) {
                             whenItFails(ViewerFailure(exitCode));
                         }
                     });
    viewer->start();
    if (!viewer->waitForStarted()) {
        delete viewer;
        throw RuntimeError(error_number::FileNotFound);
    }
}

void QtShell::openAddress(const std::string& address) {
    const QString text = ToQString(address);
    const QUrl url = text.startsWith(u'/') ? QUrl::fromLocalFile(text) : QUrl(text);
    if (!QDesktopServices::openUrl(url)) {
        throw RuntimeError(error_number::FileNotFound);
    }
}

}  // namespace kestrava::platform
