#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/win32/LastError.h"
#include "platform/win32/Utf16.h"

namespace kestrava::platform {
namespace {

// The running executable's full path; it may be longer than MAX_PATH.
std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::size_t NameStart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

}  // namespace

std::optional<std::string> Win32Environment::variable(const std::string& name) const {
    const std::wstring wideName = ToUtf16(name);
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                       static_cast<DWORD>(value.size()));
        if (length == 0) {
            return std::nullopt;  // unset, or set to nothing
        }
        if (length < value.size()) {
            value.resize(length);
            return FromUtf16(value);
        }
        value.resize(length);
    }
}

std::string Win32Environment::programFolder() const {
    const std::wstring path = ExecutablePath();
    std::size_t end = NameStart(path);
    if (end > 0 && !(end == 3 && path[1] == L':')) {
        --end;  // the separator goes, but a drive's root keeps it
    }
    return FromUtf16(std::wstring_view(path).substr(0, end));
}

std::string Win32Environment::executableName() const {
    const std::wstring path = ExecutablePath();
    return FromUtf16(std::wstring_view(path).substr(NameStart(path)));
}

std::string Win32Environment::desktopFolder() const {
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &items))) {
        return {};
    }
    wchar_t path[MAX_PATH] = {};
    const bool named = ::SHGetPathFromIDListW(items, path);
    ::CoTaskMemFree(items);
    return named ? FromUtf16(path) : std::string();
}

std::string Win32Environment::stateFolder(const std::string&) {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) {
        throw RuntimeError(error_number::PathNotFound);
    }
    std::wstring folder(path, length);
    if (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        throw LastOsError();
    }
    return FromUtf16(folder);
}

}  // namespace kestrava::platform
