#pragma once

#include <windows.h>

#include "platform/Clipboard.h"

namespace kestrava::platform {

// The clipboard as Unicode text (CF_UNICODETEXT). The clipboard needs an owner window
// for its content to be set; this one owns a hidden window of its own for that.
class Win32Clipboard : public Clipboard {
public:
    Win32Clipboard();
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    // The program's text and the clipboard's two-byte copy, within the memory that the
    // system can commit (physical memory and page file).
    bool canHold(std::uint64_t textBytes) const override;
    // Throws RuntimeError 7 when the memory for the copy can't be had, and 521 when
    // another program keeps the clipboard open.
    void putText(const std::string& text) override;

private:
    HWND owner_;
};

}  // namespace kestrava::platform
