#pragma once

#include <QString>

namespace kestrava::platform {

// Only the window's commands reach the clipboard, so it takes Qt's text as it is: a
// large history log is decoded once, straight into the text the clipboard keeps.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's content with the text, as plain text.
    virtual void putText(const QString& text) = 0;
};

}  // namespace kestrava::platform
