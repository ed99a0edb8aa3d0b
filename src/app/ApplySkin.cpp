#include "app/ApplySkin.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"

namespace kestrava::app {
namespace {

void PaintButtonFace(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool TakesButtonFace(const QWidget* widget) {
    return qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget) ||
           qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QLabel*>(widget);
}

}  // namespace

void ApplySkin(QWidget& window, const std::string& skinFile) {
    const QString skinPath = platform::ToQString(skinFile);
    if (!QFileInfo(skinPath).isFile()) {
        return;
    }
    PaintButtonFace(window);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (TakesButtonFace(child)) {
            PaintButtonFace(*child);
        }
    }
    QFile skin(skinPath);
    if (!skin.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw platform::RuntimeError(platform::error_number::PermissionDenied);
    }
    window.setStyleSheet(QString::fromUtf8(skin.readAll()));
}

}  // namespace kestrava::app
