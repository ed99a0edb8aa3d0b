#pragma once

#include <QRect>
#include <cmath>

namespace kestrava::app {

// The window's design is measured in twips, 15 to a pixel at the usual density.
inline int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

}  // namespace kestrava::app
