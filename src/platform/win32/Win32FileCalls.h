#pragma once

#include <windows.h>

#include <string>

namespace kestrava::platform {

// The two calls through which Win32FileSystem learns what a folder holds: the listing
// and the open that tells a file from anything else. Every other call goes to the
// system directly. Tests put a subclass in their place to hand back what neither wine
// nor Linux produces: the attributes of a file whose data is elsewhere, a cloud
// provider's refusal of an open.
class Win32FileCalls {
public:
    virtual ~Win32FileCalls() = default;

    // FindFirstFileExW on the pattern (FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH) and
    // FindNextFileW, with their results and GetLastError() as the system leaves them.
    // The search is ended with FindClose.
    virtual HANDLE findFirst(const std::wstring& pattern, WIN32_FIND_DATAW& record) const;
    virtual bool findNext(HANDLE search, WIN32_FIND_DATAW& record) const;

    // CreateFileW as the walk asks whether a file can be opened: an existing file, no
    // access, reading and writing shared, unbuffered and sequential, links followed.
    // INVALID_HANDLE_VALUE with GetLastError() set when it is refused.
    virtual HANDLE openForNoAccess(const std::wstring& path) const;
};

}  // namespace kestrava::platform
