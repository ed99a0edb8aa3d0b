#pragma once

#include <string_view>

namespace kestrava::core {

inline constexpr std::string_view ProductName = "Kestrava";
inline constexpr std::string_view MakerName = "Velquist";
// The name the program goes by on the system: its executable, its folders.
inline constexpr std::string_view ProgramName = "kestrava";

inline constexpr std::string_view MakerSiteAddress = "https://www.velquist.com/";
inline constexpr std::string_view MakerContactAddress = "https://www.velquist.com/contact/";
inline constexpr std::string_view SupportEmailAddress = "support@velquist.com";

}  // namespace kestrava::core
