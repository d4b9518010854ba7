// Prints the colours of points of the screen as the user sees them: one
// GetImage of the root window, which under a compositing manager holds what
// it drew (reading a window itself would give its own contents, opaque
// whatever its opacity). One line "R G B" a point.
// Usage: x_screen_pixels X Y [X Y ...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    if (argc < 3 || argc % 2 == 0) {
        std::fputs("usage: x_screen_pixels X Y [X Y ...]\n", stderr);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("x_screen_pixels: cannot open the display\n", stderr);
        return 1;
    }
    const int screen = DefaultScreen(display);
    const auto width = static_cast<unsigned>(DisplayWidth(display, screen));
    const auto height = static_cast<unsigned>(DisplayHeight(display, screen));
    XImage *image =
        XGetImage(display, RootWindow(display, screen), 0, 0, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fputs("x_screen_pixels: the screen could not be read\n", stderr);
        return 1;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const int x = std::atoi(argv[i]);
        const int y = std::atoi(argv[i + 1]);
        if (x < 0 || y < 0 || x >= static_cast<int>(width) || y >= static_cast<int>(height)) {
            std::printf("none\n");
            continue;
        }
        const unsigned long pixel = XGetPixel(image, x, y);
        std::printf("%lu %lu %lu\n", (pixel & image->red_mask) >> 16,
                    (pixel & image->green_mask) >> 8, pixel & image->blue_mask);
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
