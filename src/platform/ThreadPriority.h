#pragma once

#include <thread>

// How the platform lets a thread step back, or stand aside. Each platform defines it in
// its own folder.
namespace kestrava::platform {

// Lowers the calling thread's priority below the window's, so that work in the
// background (the walk's helpers) never keeps the window's thread from the processor:
// with more busy threads than cores, the window would otherwise wait its turn for
// milliseconds at a time.
void LowerThisThreadsPriority();

// Asks that a helper just started run on another processor than the calling thread's:
// Linux may start it on the caller's, queued behind the busy caller, and leave it there
// for milliseconds while another processor idles. Where there is no other processor, or
// the request fails, the helper runs where the system puts it.
void KeepOffThisProcessor(std::jthread& helper);

}  // namespace kestrava::platform
