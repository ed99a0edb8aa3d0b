#include "platform/qt/QtText.h"

#include <algorithm>

namespace kestrava::platform {
namespace {

constexpr char16_t EscapedByteBase = 0xDC00;

bool IsEscapedByte(QChar c) {
    return c.unicode() >= EscapedByteBase + 0x80 && c.unicode() <= EscapedByteBase + 0xFF;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 character at the start of text, 0 when there is none:
// no overlong forms, no surrogates, nothing beyond U+10FFFF.
std::size_t CharacterLength(std::string_view text) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t at = 2; at < length; ++at) {
        if (!IsContinuation(byte(at))) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool IsValidText(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = CharacterLength(text);
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
             valid < text.size() && (length = CharacterLength(text.substr(valid))) != 0;
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
