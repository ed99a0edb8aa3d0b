#include "platform/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kestrava::platform {

// On Linux each thread has a nice value of its own. The lowest lets the window's thread,
// woken from its wait, have a processor at once instead of after a helper's time slice,
// and leaves the user's other programs first too. Where it can't be changed, the thread
// keeps the window's priority and only the window's smoothness suffers.
void LowerThisThreadsPriority() {
    constexpr int Lowest = 19;
    [[maybe_unused]] const int ignored =
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), Lowest);
}

void KeepOffThisProcessor(std::jthread& helper) {
    const int current = ::sched_getcpu();
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (current < 0 || ::sched_getaffinity(0, sizeof allowed, &allowed) != 0) {
        return;
    }
    CPU_CLR(current, &allowed);
    if (CPU_COUNT(&allowed) > 0) {
        ::pthread_setaffinity_np(helper.native_handle(), sizeof allowed, &allowed);
    }
}

}  // namespace kestrava::platform
