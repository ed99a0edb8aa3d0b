#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/win32/Win32FileCalls.h"

namespace kestrava::fakes {

// The system's listing and open, with scripted answers for entries named in the maps
// (by their bare names): attributes added to what the listing gives for them, an error
// in place of their open. It remembers the names of the files opened; the walk's
// helpers open files on several threads at once.
class ScriptedFileCalls : public platform::Win32FileCalls {
public:
    std::map<std::wstring, DWORD> addedAttributes;
    std::map<std::wstring, DWORD> openErrors;

    HANDLE findFirst(const std::wstring& pattern, WIN32_FIND_DATAW& record) const override {
        const HANDLE search = Win32FileCalls::findFirst(pattern, record);
        if (search != INVALID_HANDLE_VALUE) {
            addAttributes(record);
        }
        return search;
    }

    bool findNext(HANDLE search, WIN32_FIND_DATAW& record) const override {
        if (!Win32FileCalls::findNext(search, record)) {
            return false;
        }
        addAttributes(record);
        return true;
    }

    HANDLE openForNoAccess(const std::wstring& path) const override {
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        {
            const std::lock_guard lock(mutex_);
            opened_.insert(name);
        }
        if (const auto error = openErrors.find(name); error != openErrors.end()) {
            ::SetLastError(error->second);
            return INVALID_HANDLE_VALUE;
        }
        return Win32FileCalls::openForNoAccess(path);
    }

    bool wasOpened(const std::wstring& name) const {
        const std::lock_guard lock(mutex_);
        return opened_.contains(name);
    }

private:
    void addAttributes(WIN32_FIND_DATAW& record) const {
        if (const auto added = addedAttributes.find(record.cFileName);
            added != addedAttributes.end()) {
            record.dwFileAttributes |= added->second;
        }
    }

    mutable std::mutex mutex_;
    mutable std::set<std::wstring> opened_;
};

}  // namespace kestrava::fakes
