#pragma once

#include <QCursor>
#include <string>

namespace kestrava::ui::qt {

// A Windows cursor file (.cur) as a cursor with the hotspot the file names.
// Throws RuntimeError 481 (invalid picture) when the file is not a cursor.
QCursor LoadCursorFile(const std::string& path);

}  // namespace kestrava::ui::qt
