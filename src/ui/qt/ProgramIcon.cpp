#include "ui/qt/ProgramIcon.h"

#include <memory>

#include "platform/qt/QtPicture.h"

namespace kestrava::ui::qt {

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/kestrava/kestrava-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

platform::PictureRef ProgramIconPicture() {
    return std::make_shared<platform::QtPicture>(ProgramIcon());
}

}  // namespace kestrava::ui::qt
