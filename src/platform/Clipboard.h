#pragma once

#include <cstdint>
#include <string>

namespace kestrava::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Whether a text of that many bytes, in the program's own encoding, can be put on
    // the clipboard: the program and the clipboard each hold a copy of it meanwhile.
    virtual bool canHold(std::uint64_t textBytes) const = 0;

    // Replaces the clipboard's content with the text, as plain text.
    // Throws RuntimeError 7 (out of memory) when the text can't be held.
    virtual void putText(const std::string& text) = 0;
};

}  // namespace kestrava::platform
