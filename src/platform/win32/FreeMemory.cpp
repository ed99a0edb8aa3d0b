#include "platform/FreeMemory.h"

#include <malloc.h>

namespace kestrava::platform {

// The C runtime's heap is the process's, shared by every thread; what it holds free
// in whole pages goes back with _heapmin.
void GiveBackFreeMemory() {
    ::_heapmin();
}

}  // namespace kestrava::platform
