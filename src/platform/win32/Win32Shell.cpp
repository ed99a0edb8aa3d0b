#include "platform/win32/Win32Shell.h"

#include <windows.h>

#include "platform/win32/CommandLine.h"
#include "platform/win32/LastError.h"
#include "platform/win32/OwnedHandle.h"
#include "platform/win32/Utf16.h"

namespace kestrava::platform {

void Win32Shell::startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) {
    std::vector<std::wstring> wideArguments;
    wideArguments.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        wideArguments.push_back(ToUtf16(argument));
    }
    // CreateProcessW may write into the command line it is given.
    std::wstring line = CommandLineOf(ToUtf16(program), wideArguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        throw LastOsError();
    }
    const OwnedHandle process(started.hProcess);
    const OwnedHandle thread(started.hThread);
}

void Win32Shell::viewTextFile(const std::string& path, LateFailure) {
    startDetached(viewer_, {path});
}

void Win32Shell::openAddress(const std::string& address) {
    startDetached(browser_, {address});
}

}  // namespace kestrava::platform
