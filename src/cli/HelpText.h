#pragma once

#include <string_view>

namespace kestrava::cli {

extern const std::string_view HelpText;
extern const std::string_view VersionText;

}  // namespace kestrava::cli
