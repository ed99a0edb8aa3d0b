#include "core/HistoryLogPath.h"

#include "core/NameHelpers.h"
#include "core/PathText.h"
#include "core/Product.h"

namespace kestrava::core {
namespace {

// An unset "TEMP" must not put the log at the root of the file system, nor in a folder
// that every user of the machine shares and that may be emptied at boot.
std::string TemporaryFolder(platform::Environment& environment) {
    if (auto folder = environment.variable("TEMP")) {
        return *folder;
    }
    if (auto folder = environment.variable("TMPDIR")) {
        return *folder;
    }
    return environment.stateFolder(std::string(ProgramName));
}

}  // namespace

std::string HistoryLogPath(platform::Environment& environment) {
    const std::string logName = StripSpecialCharacters(DropTrailingWord(ProductName, "Software"));
    return TemporaryFolder(environment) + PathSeparator + logName + ".txt";
}

}  // namespace kestrava::core
