#pragma once

#include <string_view>

// The location tag of every trapping procedure, as its error report names it.
namespace kestrava::core::location_tag {

inline constexpr std::string_view FormLoad = "in Ondrelix2021/08/31.Form1.Form_Load ";
inline constexpr std::string_view FormQueryUnload = "in Ondrelix2021/08/31.Form1.Form_QueryUnload ";
inline constexpr std::string_view Timer1 = "in Ondrelix2021/08/31.Form1.Timer1 ";
inline constexpr std::string_view PushButton1Click =
    "in Ondrelix2021/08/31.Form1.PushButton1_Click ";
inline constexpr std::string_view PushButton2Click =
    "in Ondrelix2021/08/31.Form1.PushButton2_Click ";
inline constexpr std::string_view PushButton3Click =
    "in Ondrelix2021/08/31.Form1.PushButton3_Click ";
inline constexpr std::string_view PushButton5Click =
    "in Ondrelix2021/08/31.Form1.PushButton5_Click ";
inline constexpr std::string_view PushButton6Click =
    "in Ondrelix2021/08/31.Form1.PushButton6_Click ";
inline constexpr std::string_view PushButton11Click =
    "in Ondrelix2021/08/31.Form1.PushButton11_Click ";
inline constexpr std::string_view PushButton12Click =
    "in Ondrelix2021/08/31.Form1.PushButton12_Click ";
inline constexpr std::string_view LogFilesNow = "in Ondrelix2021/08/31.IntervalSave.LogFilesNow ";
inline constexpr std::string_view ConvertSize = "in Ondrelix2021/08/31.IntervalSave.ConvertSize ";
inline constexpr std::string_view GetSubDirectories2016 =
    "in Tarnwick2021/08/31.AddFolder.GetSubDirectories2016 ";

}  // namespace kestrava::core::location_tag
