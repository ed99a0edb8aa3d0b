#pragma once

#include <windows.h>

#include "platform/OsErrors.h"

namespace kestrava::platform {

// The runtime error for the calling thread's last Win32 error.
inline RuntimeError LastOsError() {
    return RuntimeErrorFromOs(static_cast<int>(::GetLastError()));
}

// The runtime error for a status that a call returns (the registry's, say).
inline RuntimeError OsErrorOf(LSTATUS status) {
    return RuntimeErrorFromOs(static_cast<int>(status));
}

}  // namespace kestrava::platform
