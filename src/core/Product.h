#pragma once

#include <string_view>

namespace kestrava::core {

inline constexpr std::string_view ProductName = "Kestrava";
inline constexpr std::string_view MakerName = "Velquist";

inline constexpr std::string_view MakerSiteAddress = "https://www.velquist.com/";
inline constexpr std::string_view MakerContactAddress = "https://www.velquist.com/contact/";
inline constexpr std::string_view SupportEmailAddress = "support@velquist.com";

}  // namespace kestrava::core
