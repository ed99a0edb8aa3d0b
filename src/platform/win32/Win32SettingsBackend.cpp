#include "platform/win32/Win32SettingsBackend.h"

#include <windows.h>

#include "platform/win32/LastError.h"
#include "platform/win32/RegistryKey.h"
#include "platform/win32/RegistryText.h"
#include "platform/win32/Utf16.h"

namespace kestrava::platform {

std::string Win32SettingsBackend::sectionKey(const std::string& application,
                                             const std::string& section) const {
    return root_ + '\\' + application + '\\' + section;
}

std::string Win32SettingsBackend::read(const std::string& application, const std::string& section,
                                       const std::string& key,
                                       const std::string& defaultValue) const {
    RegistryKey opened;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, ToUtf16(sectionKey(application, section)).c_str(), 0,
                        KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS) {
        return defaultValue;
    }
    const auto value = ReadStringValue(opened.get(), ToUtf16(key));
    return value ? FromUtf16(*value) : defaultValue;
}

void Win32SettingsBackend::write(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& value) {
    RegistryKey opened;
    LSTATUS status = ::RegCreateKeyExW(
        HKEY_CURRENT_USER, ToUtf16(sectionKey(application, section)).c_str(), 0, nullptr,
        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, opened.receive(), nullptr);
    if (status == ERROR_SUCCESS) {
        status = WriteStringValue(opened.get(), ToUtf16(key), ToUtf16(value));
    }
    if (status != ERROR_SUCCESS) {
        throw OsErrorOf(status);
    }
}

}  // namespace kestrava::platform
