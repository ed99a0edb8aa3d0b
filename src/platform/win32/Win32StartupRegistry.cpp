#include "platform/win32/Win32StartupRegistry.h"

#include "platform/win32/LastError.h"
#include "platform/win32/RegistryKey.h"
#include "platform/win32/RegistryText.h"
#include "platform/win32/Utf16.h"

namespace kestrava::platform {

// Windows splits an unquoted Run value at its first space and tries each prefix as a
// program: "C:\Program Files\..." would first start "C:\Program.exe", which anyone who
// may create a file there could plant, and a machine-wide value starts it for every
// user. Quoted, the value names one program only.
std::string RunValueData(const std::string& programPath) {
    if (programPath.find(' ') == std::string::npos) {
        return programPath;
    }
    return '"' + programPath + '"';
}

void Win32StartupRegistry::setEntry(StartupScope scope, const std::string& name,
                                    const std::string& programPath) {
    const RunKey& run = runKey(scope);
    RegistryKey key;
    LSTATUS status =
        ::RegCreateKeyExW(run.root, ToUtf16(run.path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, key.receive(), nullptr);
    if (status == ERROR_SUCCESS) {
        status = WriteStringValue(key.get(), ToUtf16(name), ToUtf16(RunValueData(programPath)));
    }
    if (status != ERROR_SUCCESS) {
        throw OsErrorOf(status);
    }
}

void Win32StartupRegistry::deleteEntry(StartupScope scope, const std::string& name) {
    const RunKey& run = runKey(scope);
    const std::wstring path = ToUtf16(run.path);
    const std::wstring valueName = ToUtf16(name);
    RegistryKey key;
    LSTATUS status = ::RegOpenKeyExW(run.root, path.c_str(), 0, KEY_SET_VALUE, key.receive());
    if (status == ERROR_SUCCESS) {
        status = ::RegDeleteValueW(key.get(), valueName.c_str());
    }
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        return;  // gone, or never there: no key, no value
    }
    RegistryKey readable;
    if (::RegOpenKeyExW(run.root, path.c_str(), 0, KEY_QUERY_VALUE, readable.receive()) ==
            ERROR_SUCCESS &&
        ::RegQueryValueExW(readable.get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) ==
            ERROR_FILE_NOT_FOUND) {
        return;
    }
    throw OsErrorOf(status);
}

}  // namespace kestrava::platform
