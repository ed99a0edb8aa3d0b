#include "platform/win32/Win32Locale.h"

#include <windows.h>

#include <climits>

#include "platform/win32/LocalePictures.h"
#include "platform/win32/Utf16.h"

namespace kestrava::platform {
namespace {

int SizeOf(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

// Text in the code page; "?" for what it can't hold. No best fit: a character that is
// not there must not turn into a look-alike ("ā" into "a"), which could name another file.
std::string ToCodePage(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* unknown = codePage == CP_UTF8 ? nullptr : "?";
    const int length = SizeOf(text.size());
    std::string bytes(static_cast<std::size_t>(::WideCharToMultiByte(
                          codePage, flags, text.data(), length, nullptr, 0, unknown, nullptr)),
                      '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), SizeOf(bytes.size()),
                          unknown, nullptr);
    return bytes;
}

std::wstring FromCodePage(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) {
        return {};
    }
    const int length = SizeOf(bytes.size());
    std::wstring text(static_cast<std::size_t>(
                          ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), SizeOf(text.size()));
    return text;
}

// The era of the Gregorian calendar, for a picture's "g".
std::wstring EraOf(const wchar_t* locale) {
    SYSTEMTIME day{};
    day.wYear = 2000;
    day.wMonth = 1;
    day.wDay = 1;
    wchar_t era[64] = {};
    return ::GetDateFormatEx(locale, 0, &day, L"gg", era, 64, nullptr) > 0 ? era : L"";
}

std::string MappedCase(const wchar_t* locale, const std::wstring& text, DWORD how) {
    if (text.empty()) {
        return {};
    }
    std::wstring mapped(text.size() * 2 + 8, L'\0');
    const int length = ::LCMapStringEx(locale, how, text.c_str(), SizeOf(text.size()),
                                       mapped.data(), SizeOf(mapped.size()), nullptr, nullptr, 0);
    mapped.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return FromUtf16(length > 0 ? mapped : text);
}

}  // namespace

Win32Locale::Win32Locale(const std::string& localeName, unsigned codePage)
    : name_(ToUtf16(localeName)), codePage_(codePage != 0 ? codePage : ::GetACP()) {}

std::wstring Win32Locale::wideInfo(unsigned type) const {
    const wchar_t* locale = name_.empty() ? LOCALE_NAME_USER_DEFAULT : name_.c_str();
    const int length = ::GetLocaleInfoEx(locale, type, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::GetLocaleInfoEx(locale, type, text.data(), length);
    text.resize(static_cast<std::size_t>(length - 1));
    return text;
}

std::string Win32Locale::info(unsigned type) const {
    return FromUtf16(wideInfo(type));
}

DateTimeNames Win32Locale::dateTimeNames() const {
    const wchar_t* locale = name_.empty() ? LOCALE_NAME_USER_DEFAULT : name_.c_str();
    DateTimeNames names;
    names.shortDatePattern =
        FromUtf16(PatternOfPicture(wideInfo(LOCALE_SSHORTDATE), PictureKind::Date, EraOf(locale)));
    names.longTimePattern =
        FromUtf16(PatternOfPicture(wideInfo(LOCALE_STIMEFORMAT), PictureKind::Time, {}));
    for (unsigned month = 0; month < 12; ++month) {
        names.longMonthNames[month] = info(LOCALE_SMONTHNAME1 + month);
        names.shortMonthNames[month] = info(LOCALE_SABBREVMONTHNAME1 + month);
    }
    // LOCALE_SDAYNAME1 is Monday's, as the day names here begin.
    for (unsigned day = 0; day < 7; ++day) {
        names.longDayNames[day] = info(LOCALE_SDAYNAME1 + day);
        names.shortDayNames[day] = info(LOCALE_SABBREVDAYNAME1 + day);
    }
    const std::wstring am = wideInfo(LOCALE_S1159);
    const std::wstring pm = wideInfo(LOCALE_S2359);
    names.am = {FromUtf16(am), MappedCase(locale, am, LCMAP_UPPERCASE),
                MappedCase(locale, am, LCMAP_LOWERCASE)};
    names.pm = {FromUtf16(pm), MappedCase(locale, pm, LCMAP_UPPERCASE),
                MappedCase(locale, pm, LCMAP_LOWERCASE)};
    // The system writes dates with the digits 0 to 9 whatever the locale's own digits.
    for (char digit = 0; digit < 10; ++digit) {
        names.digits[static_cast<std::size_t>(digit)] =
            std::string(1, static_cast<char>('0' + digit));
    }
    names.negativeSign = info(LOCALE_SNEGATIVESIGN);
    return names;
}

std::string Win32Locale::decimalSeparator() const {
    return info(LOCALE_SDECIMAL);
}

std::string Win32Locale::toSystemEncoding(std::string_view text) const {
    if (IsAscii(text) || codePage_ == CP_UTF8) {
        return std::string(text);
    }
    return ToCodePage(ToUtf16(text), codePage_);
}

std::string Win32Locale::fromSystemEncoding(std::string bytes) const {
    if (IsAscii(bytes) || codePage_ == CP_UTF8) {
        return bytes;
    }
    return FromUtf16(FromCodePage(bytes, codePage_));
}

}  // namespace kestrava::platform
