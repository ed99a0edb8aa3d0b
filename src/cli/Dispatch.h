#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace kestrava::cli {

// The seams kestrava-log works through; each platform's main() hands in its real ones.
struct Seams {
    platform::FileSystem& fileSystem;
    platform::Environment& environment;
    const platform::Clock& clock;
    const platform::Locale& locale;
};

// Runs kestrava-log with its arguments (without the program's name) and gives its exit
// status: 0 done (diff: nothing changed), 1 (diff: something changed; snapshot: its entry
// was written with failures), 2 on an error, reported on one line of standard error.
int Dispatch(const std::vector<std::string>& arguments, Seams seams, std::ostream& out,
             std::ostream& err);

}  // namespace kestrava::cli
