// Asks the window manager to add or remove a state of a window, as a pager
// does: a _NET_WM_STATE message to the root window, from an application.
// Usage: x_ask_state WINDOW-ID add|remove STATE-ATOM
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[]) {
    const bool add = argc == 4 && std::strcmp(argv[2], "add") == 0;
    if (argc != 4 || (!add && std::strcmp(argv[2], "remove") != 0)) {
        std::fputs("usage: x_ask_state WINDOW-ID add|remove STATE-ATOM\n", stderr);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("x_ask_state: cannot open the display\n", stderr);
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = add ? 1 : 0;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, argv[3], False));
    event.xclient.data.l[3] = 1;  // from an application
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
