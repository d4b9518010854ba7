// Announces a window manager that manages nothing: the EWMH check window
// with a name, and the states and hints it claims to support on the root
// window. Prints "ready" once the server holds them; runs until it is ended.
// Usage: x_standin_wm NAME [SUPPORTED-ATOM...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char *argv[]) {
    if (argc < 2) {
        std::fputs("usage: x_standin_wm NAME [SUPPORTED-ATOM...]\n", stderr);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("x_standin_wm: cannot open the display\n", stderr);
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    Window check = XCreateSimpleWindow(display, root, -1, -1, 1, 1, 0, 0, 0);
    const Atom checkAtom = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    for (const Window window : {root, check}) {
        XChangeProperty(display, window, checkAtom, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<unsigned char *>(&check), 1);
    }
    XChangeProperty(display, check, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(argv[1]),
                    static_cast<int>(std::strlen(argv[1])));
    std::vector<Atom> supported;
    for (int i = 2; i < argc; ++i) {
        supported.push_back(XInternAtom(display, argv[i], False));
    }
    XChangeProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char *>(supported.data()),
                    static_cast<int>(supported.size()));
    XSync(display, False);
    std::puts("ready");
    std::fflush(stdout);
    pause();
    return 0;
}
