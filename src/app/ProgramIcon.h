#pragma once

#include <QIcon>

namespace kestrava::app {

// The blue V on light cyan inside a black edge, at 16, 32 and 48 pixels.
QIcon ProgramIcon();

}  // namespace kestrava::app
