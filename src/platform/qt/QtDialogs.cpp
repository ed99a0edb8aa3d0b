#include "platform/qt/QtDialogs.h"

#include <QMessageBox>

#include "platform/qt/QtText.h"

namespace kestrava::platform {

MessageAnswer QtDialogs::showMessage(const MessageBoxRequest& request) {
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

}  // namespace kestrava::platform
