#pragma once

#include <QWidget>
#include <string>

namespace kestrava::app {

// When the skin file (the program's "x/o.cjs") is there: gives the window and its
// frames and check boxes the button-face colour, then applies the file to the window
// as a style sheet. Without the file the window keeps its plain look.
// Throws RuntimeError when the file is there but can't be read.
void ApplySkin(QWidget& window, const std::string& skinFile);

}  // namespace kestrava::app
