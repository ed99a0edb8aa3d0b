#pragma once

#include "platform/Clipboard.h"

namespace kestrava::platform {

// The desktop's clipboard. Qt keeps the text in two bytes a character and hands the
// desktop a copy of its own each time another program asks for it.
class QtClipboard : public Clipboard {
public:
    bool canHold(std::uint64_t textBytes) const override;
    void putText(const std::string& text) override;
};

}  // namespace kestrava::platform
