#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrava::platform {

// A command line that hands each argument to the started program whole, as the
// C runtime and CommandLineToArgvW split it again, and as programs that take the rest
// of their line as one path (notepad) read it: each argument in quotes, a quote inside
// as \", backslashes doubled where a quote follows them. The program's name is quoted
// when it holds a blank.
std::wstring CommandLineOf(std::wstring_view program, const std::vector<std::wstring>& arguments);

}  // namespace kestrava::platform
