#include "support/win32/WindowsTestSupport.h"

#include <windows.h>

#include <stdexcept>

namespace kestrava::testing {

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathOfUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

void SetAttributes(const std::filesystem::path& path, unsigned attributes) {
    if (!::SetFileAttributesW(path.c_str(), attributes)) {
        throw std::runtime_error("can't set the attributes of " + path.string());
    }
}

void SetModified(const std::filesystem::path& file, std::int64_t utcSeconds) {
    const auto ticks = static_cast<std::uint64_t>(utcSeconds * 10000000 + 116444736000000000);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const HANDLE handle =
        ::CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const bool set =
        handle != INVALID_HANDLE_VALUE && ::SetFileTime(handle, nullptr, nullptr, &time);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
    }
    if (!set) {
        throw std::runtime_error("can't set the time of " + file.string());
    }
}

std::filesystem::path TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds longest) {
    const auto end = std::chrono::steady_clock::now() + longest;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
    return true;
}

}  // namespace kestrava::testing
