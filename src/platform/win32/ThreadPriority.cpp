#include "platform/ThreadPriority.h"

#include <windows.h>

namespace kestrava::platform {

// Where it can't be changed, the thread keeps the window's priority and only the
// window's smoothness suffers.
void LowerThisThreadsPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

}  // namespace kestrava::platform
