#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kestrava::platform {

void QtClipboard::putText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace kestrava::platform
