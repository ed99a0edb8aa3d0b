#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/Console.h"
#include "cli/LoggedEntry.h"
#include "history/PathFilter.h"
#include "platform/FileSystem.h"

namespace kestrava::cli {

// The page of a report around its data: one HTML file that holds everything it needs,
// its data deflated and in base64, for the browser to inflate.
std::string ReportPage(std::string_view data);

// kestrava-log report [FROM [TO]] --html FILE: the entries FROM to TO (every entry unless
// given; one number: from it to the newest) as a page to look at: the entries on a
// timeline, what changed between two of them, and the folders of any of them. The file
// takes the place of one there only once it is whole. Throws RuntimeError when an entry
// isn't there or the file can't be written.
int WriteReport(HistoryLog& log, const std::vector<std::int64_t>& numbers,
                const std::string& htmlPath, const history::PathFilter& filter,
                platform::FileSystem& fileSystem, Console& console);

}  // namespace kestrava::cli
