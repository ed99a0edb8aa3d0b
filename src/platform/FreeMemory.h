#pragma once

// How the platform's allocator gives memory back. Each platform defines it in its own
// folder.
namespace kestrava::platform {

// Hands the pages that the allocator holds free back to the system. Threads that
// allocate and leave the freeing to another (the walk's helpers, whose folder
// listings the window's thread frees) leave their share of the allocator full of
// freed pages, which would otherwise stay with the process as long as it runs.
void GiveBackFreeMemory();

}  // namespace kestrava::platform
