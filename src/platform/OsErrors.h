#pragma once

#include "platform/RuntimeError.h"

namespace kestrava::platform {

// The one table that turns an operating-system error into the runtime error that the
// rest of the program reports and tests for. Each platform defines it for its own
// codes: errno in platform/posix/, GetLastError()'s in platform/win32/.
RuntimeError RuntimeErrorFromOs(int osError);

}  // namespace kestrava::platform
