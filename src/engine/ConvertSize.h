#pragma once

#include <string>
#include <string_view>

#include "core/ErrorReport.h"

namespace kestrava::engine {

// A byte count as the short text of the size column and the history log: the
// largest unit of 1024 it reaches (Bytes, KB, MB, GB, TB), one decimal at most,
// rounded half to even, with the locale's decimal separator ("1.5 KB", "1,5 KB").
// A count that is not a whole non-negative number is reported and gives "".
std::string ConvertSize(double size, std::string_view decimalSeparator,
                        const core::ErrorReport& errorReport);

}  // namespace kestrava::engine
