#include "platform/qt/QtText.h"

#include <algorithm>

#include "platform/Utf8.h"

namespace kestrava::platform {
namespace {

constexpr char16_t EscapedByteBase = 0xDC00;

bool IsEscapedByte(QChar c) {
    return c.unicode() >= EscapedByteBase + 0x80 && c.unicode() <= EscapedByteBase + 0xFF;
}

}  // namespace

bool IsValidText(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = Utf8CharacterLength(text);
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

QString ToQString(std::string_view text) {
    if (IsValidText(text)) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    QString converted;
    while (!text.empty()) {
        std::size_t valid = 0;
        for (std::size_t length;
             valid < text.size() && (length = Utf8CharacterLength(text.substr(valid))) != 0;
             valid += length) {
        }
        converted += QString::fromUtf8(text.data(), static_cast<qsizetype>(valid));
        text.remove_prefix(valid);
        if (!text.empty()) {
            converted += QChar(EscapedByteBase + static_cast<unsigned char>(text.front()));
            text.remove_prefix(1);
        }
    }
    return converted;
}

std::string FromQString(const QString& text) {
    if (std::none_of(text.begin(), text.end(), IsEscapedByte)) {
        return text.toStdString();
    }
    std::string converted;
    auto run = text.begin();
    while (run != text.end()) {
        const auto escaped = std::find_if(run, text.end(), IsEscapedByte);
        converted += QStringView(run, escaped).toUtf8().toStdString();
        if (escaped != text.end()) {
            converted += static_cast<char>(escaped->unicode() - EscapedByteBase);
            run = escaped + 1;
        } else {
            run = escaped;
        }
    }
    return converted;
}

}  // namespace kestrava::platform
