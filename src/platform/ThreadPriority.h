#pragma once

// How the platform lets a thread step back. Each platform defines it in its own folder.
namespace kestrava::platform {

// Lowers the calling thread's priority below the window's, so that work in the
// background (the walk's helpers) never keeps the window's thread from the processor:
// with more busy threads than cores, the window would otherwise wait its turn for
// milliseconds at a time.
void LowerThisThreadsPriority();

}  // namespace kestrava::platform
