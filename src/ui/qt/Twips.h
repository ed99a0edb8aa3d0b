#pragma once

#include <QRect>
#include <cmath>

#include "app/Form1Design.h"

namespace kestrava::ui::qt {

// The window's design is measured in twips, 15 to a pixel at the usual density.
inline int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

inline QRect ToPixels(const app::TwipsRect& place) {
    return {TwipsToPixels(place.left), TwipsToPixels(place.top), TwipsToPixels(place.width),
            TwipsToPixels(place.height)};
}

}  // namespace kestrava::ui::qt
