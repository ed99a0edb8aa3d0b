#pragma once

#include <string>
#include <vector>

#include "platform/Clipboard.h"

namespace kestrava::fakes {

class FakeClipboard : public platform::Clipboard {
public:
    void putText(const QString& text) override { puts.push_back(text.toStdString()); }

    std::vector<std::string> puts;
};

}  // namespace kestrava::fakes
