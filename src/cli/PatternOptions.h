#pragma once

#include "cli/CommandLine.h"
#include "history/PathFilter.h"
#include "platform/FileSystem.h"

namespace kestrava::cli {

// The filter that the command line's pattern options make, in their order, pattern
// files read where they were named. Case is ignored where the platform ignores it, or
// everywhere with --ignore-case. Throws RuntimeError when a pattern file can't be read
// or holds a pattern that can't be.
history::PathFilter MakePathFilter(const Invocation& invocation,
                                   const platform::FileSystem& fileSystem);

}  // namespace kestrava::cli
