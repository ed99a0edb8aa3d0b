#pragma once

#include <string_view>
#include <vector>

namespace kestrava::history {

// The lines of two texts (each line ended by a line feed) that the other text doesn't
// hold as well, wherever it holds them: a line held n times here and m times there is
// left n - m times here, the last ones, or m - n times there. The lines come without
// their line ends, each side in its own order.
void KeepLinesNotInBoth(std::string_view before, std::string_view after,
                        std::vector<std::string_view>& beforeLeft,
                        std::vector<std::string_view>& afterLeft);

}  // namespace kestrava::history
