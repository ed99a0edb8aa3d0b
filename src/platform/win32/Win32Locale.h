#pragma once

#include <string>

#include "platform/Locale.h"

namespace kestrava::platform {

// The user's locale data (GetLocaleInfoEx) and the system's ANSI code page (GetACP),
// in which file names are judged and the history log is written. Tests may name
// another locale ("de-DE") and another code page.
class Win32Locale : public Locale {
public:
    explicit Win32Locale(const std::string& localeName = {}, unsigned codePage = 0);

    // The short date and the long time as the system writes them, in the program's
    // pattern letters, with the names and markers the locale writes.
    DateTimeNames dateTimeNames() const override;
    std::string decimalSeparator() const override;
    // Each character's code in the code page: a byte 0 to 255, or, for a double-byte
    // character, the two bytes read as one signed 16-bit number (negative). A character
    // the code page can't hold is "?" (63).
    std::string toSystemEncoding(std::string_view text) const override;
    std::string fromSystemEncoding(std::string bytes) const override;

    unsigned codePage() const { return codePage_; }

private:
    std::string info(unsigned type) const;
    std::wstring wideInfo(unsigned type) const;

    std::wstring name_;  // empty for the user's own locale
    unsigned codePage_;
};

}  // namespace kestrava::platform
