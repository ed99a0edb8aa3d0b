#pragma once

#include <string>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "history/KeepRules.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace kestrava::cli {

// kestrava-log prune: every entry of the history with the rules that keep it, and, unless
// it is a dry run, those no rule keeps removed from the store and the text log; a text
// report ends with what the store holds and how long writers were held off. Entries'
// dates are read in the console's locale and the clock's time zone. Throws RuntimeError
// when the history can't be read or rewritten.
int PruneLog(platform::FileSystem& fileSystem, const platform::Clock& clock,
             const std::string& logPath, const Invocation& invocation, Console& console);

}  // namespace kestrava::cli
