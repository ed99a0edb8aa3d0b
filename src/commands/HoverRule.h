#pragma once

namespace kestrava::commands {

// The window's mouse pointer: the default arrow, the busy hourglass while a manual
// snapshot runs, or the custom hand that push buttons show.
enum class MousePointer { Default = 0, Hourglass = 11, Custom = 99 };

// The pointer after the mouse moved over a control that asks for `wanted`: a busy
// pointer is never replaced by hovering.
constexpr MousePointer PointerAfterHover(MousePointer current, MousePointer wanted) {
    return current == MousePointer::Hourglass ? current : wanted;
}

}  // namespace kestrava::commands
