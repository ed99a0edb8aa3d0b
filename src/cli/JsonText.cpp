#include "cli/JsonText.h"

#include "platform/Utf8.h"

namespace kestrava::cli {
namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

void AppendEscaped(std::string& out, char c) {
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (static_cast<unsigned char>(c) < 0x20) {
        constexpr std::string_view Hex = "0123456789abcdef";
        out += "\\u00";
        out += Hex[static_cast<unsigned char>(c) >> 4];
        out += Hex[static_cast<unsigned char>(c) & 0xF];
        return;
    }
    out += c;
}

// Appends UTF-8 text as a quoted JSON string; what is no valid UTF-8 becomes U+FFFD.
void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    while (!text.empty()) {
        const std::size_t length = platform::Utf8CharacterLength(text);
        if (length == 0) {
            out += ReplacementCharacter;
            text.remove_prefix(1);
        } else if (length == 1) {
            AppendEscaped(out, text.front());
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    out += '"';
}

}  // namespace

void JsonText::append(std::string& out, std::string_view logText) const {
    AppendJsonString(out, locale_.fromSystemEncoding(std::string(logText)));
}

void JsonText::appendSizeAndDate(std::string& out, std::string_view size,
                                 std::string_view modified) const {
    out += "\"size\": ";
    append(out, size);
    out += ", \"modified\": ";
    append(out, modified);
}

void JsonText::appendChange(std::string& out, SizeAndDate before, SizeAndDate after) const {
    out += "\"before\": {";
    appendSizeAndDate(out, before.size, before.modified);
    out += "}, \"after\": {";
    appendSizeAndDate(out, after.size, after.modified);
    out += '}';
}

}  // namespace kestrava::cli
