// x11_compositor.h
// Whether a compositing manager draws the screen, and with it the window's
// opacity: the owner of the screen's _NET_WM_CM_S<n> selection, asked at
// start and followed through XFixes' selection notices on the program's own
// connection, so that one started, stopped or switched on later is seen.
// XWayland's windows are drawn by the Wayland compositor whoever owns it.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>

class X11Compositor {
public:
    X11Compositor(xcb_connection_t *connection, xcb_window_t root, int screen);

    // Whether a compositing manager draws the screen, as the last notice told.
    [[nodiscard]] bool draws() const { return m_xwayland || m_owner != XCB_NONE; }

    // Takes an event of the connection: a notice that the selection changed
    // hands, or anything else, which it leaves alone.
    void take(const xcb_generic_event_t &event);

private:
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    std::uint8_t m_notice = 0;  // XFixes' selection notice's event code; 0 without XFixes
    xcb_window_t m_owner = XCB_NONE;
    bool m_xwayland = false;
};
