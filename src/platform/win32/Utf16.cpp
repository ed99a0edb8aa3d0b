#include "platform/win32/Utf16.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace kestrava::platform {
namespace {

int SizeOf(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

}  // namespace

std::wstring ToUtf16(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = SizeOf(text.size());
    std::wstring wide(static_cast<std::size_t>(
                          ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), SizeOf(wide.size()));
    return wide;
}

std::string FromUtf16(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = SizeOf(text.size());
    std::string narrow(static_cast<std::size_t>(::WideCharToMultiByte(
                           CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr)),
                       '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), SizeOf(narrow.size()),
                          nullptr, nullptr);
    return narrow;
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace kestrava::platform
