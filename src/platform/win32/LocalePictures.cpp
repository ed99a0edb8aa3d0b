#include "platform/win32/LocalePictures.h"

#include <algorithm>

namespace kestrava::platform {
namespace {

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// Text as the pattern holds it: a quote as two quotes, text with a letter in quotes.
// A quoted text can't begin with a quote (two quotes there are one quote and no
// quoted text), so leading quotes stay outside.
void AppendText(std::wstring& pattern, std::wstring_view text) {
    const auto appendQuotesDoubled = [&](std::wstring_view part) {
        for (const wchar_t c : part) {
            pattern += c;
            if (c == L'\'') {
                pattern += L'\'';
            }
        }
    };
    if (std::none_of(text.begin(), text.end(), IsAsciiLetter)) {
        appendQuotesDoubled(text);
        return;
    }
    const std::size_t leading = std::min(text.find_first_not_of(L'\''), text.size());
    appendQuotesDoubled(text.substr(0, leading));
    pattern += L'\'';
    appendQuotesDoubled(text.substr(leading));
    pattern += L'\'';
}

std::wstring Repeated(wchar_t letter, std::size_t count) {
    return std::wstring(count, letter);
}

// The pattern's field for a run of one picture letter; nothing when the letter is text.
std::wstring FieldOf(wchar_t letter, std::size_t run, PictureKind kind) {
    if (kind == PictureKind::Date) {
        switch (letter) {
            case L'd':
            case L'M':
                return Repeated(letter, std::min<std::size_t>(run, 4));
            case L'y':
                return run <= 2 ? L"yy" : L"yyyy";
            default:
                return {};
        }
    }
    switch (letter) {
        case L'h':
        case L'H':
        case L'm':
        case L's':
            return Repeated(letter, std::min<std::size_t>(run, 2));
        case L't':
            return run == 1 ? L"A" : L"Ap";  // "Ap": the marker as the locale writes it
        default:
            return {};
    }
}

}  // namespace

std::wstring PatternOfPicture(std::wstring_view picture, PictureKind kind, std::wstring_view era) {
    std::wstring pattern;
    std::wstring text;  // text waiting to be written, quoted as need be
    for (std::size_t at = 0; at < picture.size();) {
        const wchar_t letter = picture[at];
        if (letter == L'\'') {
            ++at;
            if (at < picture.size() && picture[at] == L'\'') {
                text += L'\'';
                ++at;
                continue;
            }
            while (at < picture.size()) {
                if (picture[at] == L'\'') {
                    if (at + 1 < picture.size() && picture[at + 1] == L'\'') {
                        text += L'\'';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                text += picture[at++];
            }
            continue;
        }
        std::size_t run = 1;
        while (at + run < picture.size() && picture[at + run] == letter) {
            ++run;
        }
        at += run;
        if (kind == PictureKind::Date && letter == L'g') {
            text += era;
            continue;
        }
        const std::wstring field = FieldOf(letter, run, kind);
        if (field.empty()) {
            text.append(run, letter);
            continue;
        }
        AppendText(pattern, text);
        text.clear();
        pattern += field;
    }
    AppendText(pattern, text);
    return pattern;
}

}  // namespace kestrava::platform
