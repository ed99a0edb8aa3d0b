#pragma once

#include "platform/RuntimeError.h"

namespace kestrava::platform {

// The one table that turns an operating-system error (errno) into the runtime
// error that the rest of the program reports and tests for.
RuntimeError RuntimeErrorFromOs(int osError);

}  // namespace kestrava::platform
