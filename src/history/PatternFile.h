#pragma once

#include <string>
#include <string_view>

#include "history/PathFilter.h"
#include "platform/FileSystem.h"

namespace kestrava::history {

// Adds the patterns of a pattern file's text to the filter, each line excluding what it
// matches, as a .gitignore file reads:
// - blank lines, and lines that begin with "#", say nothing;
// - a line that begins with "!" includes instead;
// - "\#" and "\!" at a line's start stand for "#" and "!" where "\" escapes;
// - spaces at a line's end are dropped, but one escaped with "\";
// - lines end with LF or CR LF; a UTF-8 byte-order mark at the start is skipped.
// Throws RuntimeError naming the source and the line of a pattern that can't be read.
void AddPatternLines(PathFilter& filter, std::string_view text, std::string_view source);

// The same for a file read through the file system; throws RuntimeError naming the file
// when it can't be read.
void AddPatternFile(PathFilter& filter, const platform::FileSystem& fileSystem,
                    const std::string& path);

}  // namespace kestrava::history
