#include "platform/win32/RegistryText.h"

namespace kestrava::platform {

std::optional<std::wstring> ReadStringValue(HKEY key, const std::wstring& name) {
    for (;;) {
        DWORD type = 0;
        DWORD bytes = 0;
        if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) !=
                ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD filled = bytes;
        const LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                                  reinterpret_cast<BYTE*>(value.data()), &filled);
        if (status == ERROR_MORE_DATA) {
            continue;  // grown in between
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            return std::nullopt;
        }
        // A stored string need not end in its NUL; one that does loses it here.
        value.resize(filled / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') {
            value.pop_back();
        }
        return value;
    }
}

LSTATUS WriteStringValue(HKEY key, const std::wstring& name, const std::wstring& value) {
    return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace kestrava::platform
