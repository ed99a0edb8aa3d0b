#include "app/ProgramIcon.h"

namespace kestrava::app {

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/kestrava/kestrava-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace kestrava::app
