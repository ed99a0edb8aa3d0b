#pragma once

#include <QIcon>

#include "platform/Picture.h"

namespace kestrava::ui::qt {

// The blue V on light cyan inside a black edge, at 16, 32 and 48 pixels.
QIcon ProgramIcon();

// The same icon as a picture for the tray icon control.
platform::PictureRef ProgramIconPicture();

}  // namespace kestrava::ui::qt
