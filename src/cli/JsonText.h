#pragma once

#include <string>
#include <string_view>

#include "platform/Locale.h"

namespace kestrava::cli {

// Texts of the log as JSON strings. JSON is UTF-8, and the log is in the system's
// encoding (on Linux, the bytes that file names have on disk, which need not be valid
// text at all): each text crosses into the program's own encoding first, and bytes that
// still form no valid character become U+FFFD.
class JsonText {
public:
    explicit JsonText(const platform::Locale& locale) : locale_(locale) {}

    // Appends the log's text as a quoted JSON string.
    void append(std::string& out, std::string_view logText) const;

    // Appends a file's size and date texts as the members "size" and "modified".
    void appendSizeAndDate(std::string& out, std::string_view size,
                           std::string_view modified) const;

    // A file's size and date texts before and after a change, as the members "before"
    // and "after", each an object of appendSizeAndDate's members.
    struct SizeAndDate {
        std::string_view size;
        std::string_view modified;
    };
    void appendChange(std::string& out, SizeAndDate before, SizeAndDate after) const;

private:
    const platform::Locale& locale_;
};

}  // namespace kestrava::cli
