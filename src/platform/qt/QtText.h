#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kestrava::platform {

// The program's own strings hold text in the system's encoding, the bytes that file
// names have on disk. These two cross into and out of Qt's strings.
inline QString ToQString(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQString(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

}  // namespace kestrava::platform
