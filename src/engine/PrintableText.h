#pragma once

#include <string>
#include <string_view>

namespace kestrava::engine {

// A file name may hold control characters (codes below 32, and 127) on some file
// systems: a CR LF in a name would end a line of the history log and start a forged
// one. In the log and in the snapshot list each is written as "?", the character that
// stands for whatever the system's code page can't hold. The bytes of multi-byte
// characters are never below 128, so they pass untouched.
void AppendPrintable(std::string& out, std::string_view text);

inline std::string Printable(std::string_view text) {
    std::string printable;
    AppendPrintable(printable, text);
    return printable;
}

}  // namespace kestrava::engine
