#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "platform/Locale.h"

namespace kestrava::cli {

inline constexpr std::string_view CommandName = "kestrava-log";

// Where the command writes: its output, and its messages, one line each, named after
// the command. Output and messages are in the system's encoding, as the log is: the
// log's own texts go out as they are, the program's own (paths it was given) cross over.
class Console {
public:
    Console(std::ostream& out, std::ostream& err, const platform::Locale& locale)
        : out_(out), err_(err), locale_(locale) {}

    std::ostream& out() { return out_; }
    const platform::Locale& locale() const { return locale_; }

    // One line on standard error, in the system's encoding.
    void complain(std::string_view message);

    // The program's own text (a path it was given) as it is shown.
    std::string shown(const std::string& text) const { return locale_.toSystemEncoding(text); }

private:
    std::ostream& out_;
    std::ostream& err_;
    const platform::Locale& locale_;
};

}  // namespace kestrava::cli
