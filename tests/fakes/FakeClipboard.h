#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clipboard.h"

namespace kestrava::fakes {

// Keeps what is put on it; holds texts of up to capacity bytes.
class FakeClipboard : public platform::Clipboard {
public:
    bool canHold(std::uint64_t textBytes) const override { return textBytes <= capacity; }
    void putText(const std::string& text) override { puts.push_back(text); }

    std::vector<std::string> puts;
    std::uint64_t capacity = UINT64_MAX;
};

}  // namespace kestrava::fakes
