#pragma once

#include <string>

#include "platform/Environment.h"

namespace kestrava::core {

// Where the history log lies: the temporary folder that "TEMP" names, else "TMPDIR",
// else the user's own state folder, and there a file named after the product. The
// window and the companion command find it the same way.
// Throws RuntimeError when the state folder is needed and can't be named or made.
std::string HistoryLogPath(platform::Environment& environment);

// The history's older entries, moved out of the log by `kestrava-log compact`, lie in a
// store beside it named after it.
inline std::string HistoryStorePath(const std::string& logPath) {
    return logPath + ".history";
}

}  // namespace kestrava::core
