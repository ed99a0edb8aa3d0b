#pragma once

#include <optional>
#include <string_view>

namespace kestrava::cli {

// A size text of the log read back as bytes: "1.5 KB" (or "1,5 KB", whichever decimal
// separator the log was written with) is 1536. The log keeps one decimal of the largest
// unit at most, so this is the size to within a twentieth of that unit. Nothing for a
// text that is no size ("" where a size couldn't be told).
std::optional<double> BytesOfSizeText(std::string_view text);

}  // namespace kestrava::cli
