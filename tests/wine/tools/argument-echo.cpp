// Stands in for notepad and explorer in the shell's tests: writes the command line it
// was started with, then each argument as the C runtime splits it, one a line, in
// UTF-8, into the file that KESTRAVA_ARGUMENT_ECHO names. The file appears whole.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), length, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

}  // namespace

int main() {
    wchar_t target[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"KESTRAVA_ARGUMENT_ECHO", target, MAX_PATH) == 0) {
        return 2;
    }
    std::string text = Utf8(::GetCommandLineW()) + "\n";
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int index = 1; index < count; ++index) {
        text += Utf8(arguments[index]) + "\n";
    }
    ::LocalFree(arguments);

    const std::wstring partial = std::wstring(target) + L".partial";
    const HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ::MoveFileExW(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
