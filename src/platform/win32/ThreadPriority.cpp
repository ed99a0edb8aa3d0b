#include "platform/ThreadPriority.h"

#include <windows.h>

namespace kestrava::platform {

// Where it can't be changed, the thread keeps the window's priority and only the
// window's smoothness suffers.
void LowerThisThreadsPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

// Windows starts a new thread on an idle processor where there is one.
void KeepOffThisProcessor(std::jthread& /*helper*/) {}

}  // namespace kestrava::platform
