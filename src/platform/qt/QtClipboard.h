#pragma once

#include "platform/Clipboard.h"

namespace kestrava::platform {

class QtClipboard : public Clipboard {
public:
    void putText(const QString& text) override;
};

}  // namespace kestrava::platform
