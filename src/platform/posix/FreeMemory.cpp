#include "platform/FreeMemory.h"

#include <malloc.h>

namespace kestrava::platform {

// glibc gives every thread that allocates an arena of its own and trims an arena only
// from its top; malloc_trim releases the free pages inside every arena as well.
void GiveBackFreeMemory() {
    ::malloc_trim(0);
}

}  // namespace kestrava::platform
