#include <optional>

#include "app/Form1.h"

namespace kestrava::app {
namespace {

using commands::MousePointer;

// The pointer a move over a control asks for: the arrow over the window, its frames
// and its lists, the hand over a push button. The folder box, the check boxes and the
// progress bar have no say.
std::optional<MousePointer> PointerWanted(Control over) {
    switch (DesignOf(over).kind) {
        case ControlKind::Window:
        case ControlKind::Frame:
        case ControlKind::ReportList:
            return MousePointer::Default;
        case ControlKind::PushButton:
            return MousePointer::Custom;
        default:
            return std::nullopt;
    }
}

}  // namespace

void Form1::MouseMove(Control over) {
    if (const auto wanted = PointerWanted(over)) {
        SetMousePointer(commands::PointerAfterHover(mousePointer_, *wanted));
    }
}

}  // namespace kestrava::app
