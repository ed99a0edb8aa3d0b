#include "platform/qt/QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/qt/OnDiskPath.h"
#include "platform/qt/QtText.h"

namespace kestrava::platform {

MessageAnswer QtDialogs::showMessage(const MessageBoxRequest& request) {
    events_.endHereIfEnding();
    const auto icon =
        request.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon;
    const auto buttons = request.buttons == MessageButtons::YesNo
                             ? QMessageBox::Yes | QMessageBox::No
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(icon, ToQString(request.caption), ToQString(request.text), buttons, owner_);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Ok;
    }
}

std::string QtDialogs::chooseFolder(const std::string& title, const std::string& preselection) {
    events_.endHereIfEnding();
    QFileDialog dialog(owner_, ToQString(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog, chooser_ == FolderChooser::Qt);
    const QString start = ToQString(preselection);
    if (!start.isEmpty() && QFileInfo(start).isDir()) {
        dialog.setDirectory(start);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return OnDiskPath(dialog.selectedFiles().constFirst());
}

}  // namespace kestrava::platform
