// Prints what the pointer shows now, as its size and hotspot ("24x24+11+11") and a hash
// of its pixels, so that an end-to-end scenario can tell the hand from the busy pointer
// over a window.
// usage: cursor-image   (on the display that DISPLAY names)
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdint>
#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    int eventBase = 0;
    int errorBase = 0;
    if (display == nullptr || !XFixesQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "cursor-image: no display with the XFIXES extension\n");
        return 1;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == nullptr) {
        std::fprintf(stderr, "cursor-image: the display gave no cursor image\n");
        return 1;
    }
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the ARGB pixels
    for (int pixel = 0; pixel < image->width * image->height; ++pixel) {
        hash = (hash ^ static_cast<std::uint32_t>(image->pixels[pixel])) * 1099511628211ull;
    }
    std::printf("%dx%d+%d+%d %016llx\n", image->width, image->height, image->xhot, image->yhot,
                static_cast<unsigned long long>(hash));
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
