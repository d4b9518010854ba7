// Announces a window manager that manages nothing: the EWMH check window
// with a name, and the states and hints it claims to support on the root
// window. Prints "ready" once the server holds them; runs until it is ended.
// It keeps each window's _NET_WM_STATE as clients ask it to (add, remove,
// toggle), so that a test can have it put a mark on a window. An atom given
// as _NET_WORKAREA=X,Y,W,H is also set on the root: a work area smaller
// than the screen, as a panel or a dock leaves it. _NET_WM_CM_S0 makes it
// own that selection, as a compositing manager does (without drawing), until
// it is ended. NAME "-" announces no window manager and keeps no state: a
// compositing manager alone, say.
// Usage: x_standin_wm NAME|- [SUPPORTED-ATOM...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Applies a _NET_WM_STATE request to the window's list of states.
void changeState(Display *display, const XClientMessageEvent &request) {
    const Atom stateAtom = request.message_type;
    std::vector<Atom> states;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, request.window, stateAtom, 0, 64, False, XA_ATOM, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
        const auto *atoms = reinterpret_cast<const long *>(data);
        states.assign(atoms, atoms + count);
        XFree(data);
    }
    const long action = request.data.l[0];  // 0 remove, 1 add, 2 toggle
    for (const long changed : {request.data.l[1], request.data.l[2]}) {
        if (changed == 0) {
            continue;
        }
        const auto at = std::find(states.begin(), states.end(), static_cast<Atom>(changed));
        const bool held = at != states.end();
        if (held && (action == 0 || action == 2)) {
            states.erase(at);
        } else if (!held && (action == 1 || action == 2)) {
            states.push_back(static_cast<Atom>(changed));
        }
    }
    XChangeProperty(display, request.window, stateAtom, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(states.data()),
                    static_cast<int>(states.size()));
    XFlush(display);
}

}  // namespace

int main(int argc, char *argv[]) {
    if (argc < 2) {
        std::fputs("usage: x_standin_wm NAME|- [SUPPORTED-ATOM...]\n", stderr);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("x_standin_wm: cannot open the display\n", stderr);
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    Window check = XCreateSimpleWindow(display, root, -1, -1, 1, 1, 0, 0, 0);
    const bool announced = std::strcmp(argv[1], "-") != 0;
    if (announced) {
        const Atom checkAtom = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
        for (const Window window : {root, check}) {
            XChangeProperty(display, window, checkAtom, XA_WINDOW, 32, PropModeReplace,
                            reinterpret_cast<unsigned char *>(&check), 1);
        }
        XChangeProperty(display, check, XInternAtom(display, "_NET_WM_NAME", False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(argv[1]),
                        static_cast<int>(std::strlen(argv[1])));
    }
    std::vector<Atom> supported;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "_NET_WM_CM_S0") == 0) {
            XSetSelectionOwner(display, XInternAtom(display, argv[i], False), check, CurrentTime);
            continue;
        }
        long area[4] = {};
        if (std::sscanf(argv[i], "_NET_WORKAREA=%ld,%ld,%ld,%ld", &area[0], &area[1], &area[2],
                        &area[3]) == 4) {
            supported.push_back(XInternAtom(display, "_NET_WORKAREA", False));
            XChangeProperty(display, root, supported.back(), XA_CARDINAL, 32, PropModeReplace,
                            reinterpret_cast<unsigned char *>(area), 4);
            continue;
        }
        supported.push_back(XInternAtom(display, argv[i], False));
    }
    if (announced) {
        XChangeProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<unsigned char *>(supported.data()),
                        static_cast<int>(supported.size()));
    }
    const Atom stateAtom = XInternAtom(display, "_NET_WM_STATE", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    std::puts("ready");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        // A compositing manager alone leaves the window's state to the
        // window manager.
        if (announced && event.type == ClientMessage && event.xclient.message_type == stateAtom &&
            event.xclient.format == 32) {
            changeState(display, event.xclient);
        }
    }
}
