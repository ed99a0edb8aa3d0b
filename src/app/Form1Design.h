#pragma once

#include <array>
#include <string_view>

// The main window as it is designed: its controls, their kinds, places (in twips,
// 1/1440 inch, relative to their container), design-time captions and fonts. Every
// view builds the same window from this table.
namespace kestrava::app {

enum class Control {
    Form1,  // the window itself
    Frame1,
    ProgressBar1,
    Frame3,
    Text1,
    PushButton3,
    ListView1,
    ListView2,
    Frame2,
    Check4,
    Check8,
    PushButton5,
    PushButton6,
    PushButton1,
    PushButton2,
    PushButton11,
    PushButton12,
};

enum class ControlKind { Window, Frame, ProgressBar, TextBox, PushButton, ReportList, CheckBox };

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;

    bool operator==(const TwipsRect&) const = default;
};

struct FontDesign {
    std::string_view family;
    double points;
    bool bold;

    bool operator==(const FontDesign&) const = default;
};

struct ControlDesign {
    Control control;
    std::string_view name;
    ControlKind kind;
    Control container;
    TwipsRect place;  // the window's own: its client area
    std::string_view caption;
    FontDesign font;
};

inline constexpr FontDesign WindowFont{"Arial", 9, false};
inline constexpr FontDesign ControlFont{"Arial", 9, true};
inline constexpr FontDesign ButtonFont{"Arial", 11.25, true};

inline constexpr std::string_view SwitchCaptionAtDesign = "Turn On Automatic Logging";

inline constexpr std::array<ControlDesign, 17> Form1Controls{{
    {Control::Form1,
     "Form1",
     ControlKind::Window,
     Control::Form1,
     {0, 0, 8040, 8655},
     "",
     WindowFont},
    {Control::Frame1,
     "Frame1",
     ControlKind::Frame,
     Control::Form1,
     {120, 120, 7800, 840},
     "Next log will occur in",
     ControlFont},
    {Control::ProgressBar1,
     "ProgressBar1",
     ControlKind::ProgressBar,
     Control::Frame1,
     {240, 285, 7320, 405},
     "Progress Bar",
     ControlFont},
    {Control::Frame3,
     "Frame3",
     ControlKind::Frame,
     Control::Form1,
     {120, 1050, 7800, 810},
     "Folder To Log",
     ControlFont},
    {Control::Text1,
     "Text1",
     ControlKind::TextBox,
     Control::Frame3,
     {240, 300, 6495, 345},
     "",
     ControlFont},
    {Control::PushButton3,
     "PushButton3",
     ControlKind::PushButton,
     Control::Frame3,
     {6840, 300, 720, 345},
     "...",
     ButtonFont},
    {Control::ListView1,
     "ListView1",
     ControlKind::ReportList,
     Control::Form1,
     {120, 1980, 7800, 2085},
     "",
     ControlFont},
    {Control::ListView2,
     "ListView2",
     ControlKind::ReportList,
     Control::Form1,
     {120, 4160, 7800, 2070},
     "",
     ControlFont},
    {Control::Frame2,
     "Frame2",
     ControlKind::Frame,
     Control::Form1,
     {120, 6270, 7800, 735},
     "Startup Options",
     ControlFont},
    {Control::Check4,
     "Check4",
     ControlKind::CheckBox,
     Control::Frame2,
     {240, 300, 3930, 285},
     "Load this software on Windows startup",
     ControlFont},
    {Control::Check8,
     "Check8",
     ControlKind::CheckBox,
     Control::Frame2,
     {4320, 300, 2580, 285},
     "Minimized to system tray",
     ControlFont},
    {Control::PushButton5,
     "PushButton5",
     ControlKind::PushButton,
     Control::Form1,
     {120, 7120, 3840, 405},
     SwitchCaptionAtDesign,
     ButtonFont},
    {Control::PushButton6,
     "PushButton6",
     ControlKind::PushButton,
     Control::Form1,
     {4080, 7120, 3840, 405},
     "Log Current Status Now (Test)",
     ButtonFont},
    {Control::PushButton1,
     "PushButton1",
     ControlKind::PushButton,
     Control::Form1,
     {120, 7630, 3840, 405},
     "View History Log",
     ButtonFont},
    {Control::PushButton2,
     "PushButton2",
     ControlKind::PushButton,
     Control::Form1,
     {4080, 7630, 3840, 405},
     "Copy History To Clipboard",
     ButtonFont},
    {Control::PushButton11,
     "PushButton11",
     ControlKind::PushButton,
     Control::Form1,
     {120, 8140, 3840, 405},
     "Help",
     ButtonFont},
    {Control::PushButton12,
     "PushButton12",
     ControlKind::PushButton,
     Control::Form1,
     {4080, 8140, 3840, 405},
     "Clear History Log",
     ButtonFont},
}};

constexpr bool TableFollowsControlOrder() {
    for (std::size_t index = 0; index < Form1Controls.size(); ++index) {
        if (static_cast<std::size_t>(Form1Controls[index].control) != index) {
            return false;
        }
    }
    return true;
}
static_assert(TableFollowsControlOrder(), "DesignOf() indexes the table by Control");

// The design of one control.
constexpr const ControlDesign& DesignOf(Control control) {
    return Form1Controls[static_cast<std::size_t>(control)];
}

}  // namespace kestrava::app
