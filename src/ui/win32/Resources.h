#pragma once

// The program's resources, as kestrava.rc numbers them.
namespace kestrava::ui::win32 {

inline constexpr int ProgramIconId = 1;

}  // namespace kestrava::ui::win32
