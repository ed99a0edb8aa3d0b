#include "platform/win32/Win32FileCalls.h"

namespace kestrava::platform {

HANDLE Win32FileCalls::findFirst(const std::wstring& pattern, WIN32_FIND_DATAW& record) const {
    return ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &record, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
}

bool Win32FileCalls::findNext(HANDLE search, WIN32_FIND_DATAW& record) const {
    return ::FindNextFileW(search, &record) != FALSE;
}

HANDLE Win32FileCalls::openForNoAccess(const std::wstring& path) const {
    return ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN,
                         nullptr);
}

}  // namespace kestrava::platform
