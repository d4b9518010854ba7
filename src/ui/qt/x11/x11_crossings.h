// x11_crossings.h
// Where the pointer is, from the crossings of the window's outermost frame
// that the program's own X connection reports: the polls answer
// without a round trip, and ask the server only when the crossings cannot
// tell (at first, after a new frame, during a grab). XWayland knows the
// pointer only once the compositor has moved it over an X11 window: before
// that it stands in the screen's middle, and XWayland answers queries with
// that point and says that it entered whatever window maps there. So under
// XWayland, until the pointer has been heard of elsewhere, the middle is
// taken for nowhere, and a move the toolkit hears tells that the pointer is
// over the window after all.
#pragma once

#include <xcb/xcb.h>

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <optional>

#include "presence/pointer_crossings.h"

class QRect;

class X11Crossings {
public:
    X11Crossings(xcb_connection_t *connection, xcb_window_t root, bool xwayland)
        : m_connection(connection), m_root(root), m_xwayland(xwayland) {}

    // Follows the window: its moves between frames, and the pointer's
    // crossings of its outermost frame.
    void follow(xcb_window_t client);
    xcb_window_t client() const { return m_client; }

    // Takes the events that have come: from the socket when it has
    // something to read, otherwise those that xcb read while it waited for
    // a reply. Events that are none of the crossings' go to others.
    void takeEvents(bool readSocket,
                    const std::function<void(const xcb_generic_event_t &)> &others = {});

    // The pointer moved over the window, as the program's toolkit heard it:
    // under XWayland, before it has been heard of anywhere, it is then over
    // the window (a move with a button held, which may lie outside, comes
    // only after one without). Returns whether that changed what the
    // crossings tell.
    bool moved();

    // Whether the pointer is over the outermost frame as the crossings tell;
    // nothing while only a query can.
    [[nodiscard]] std::optional<bool> known() const { return m_crossings.inside(); }

    // Asks the server whether the pointer is over the window's outer
    // rectangle (device-independent pixels, at the screen's pixel ratio).
    [[nodiscard]] bool query(const QRect &outer, qreal ratio);

private:
    void findFrame();
    void takeCrossing(std::uint8_t type, const xcb_enter_notify_event_t &crossing);
    // Whether a point of the root is where XWayland's pointer stands before
    // it has been anywhere.
    bool unheardOf(std::int16_t x, std::int16_t y) const;

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    bool m_xwayland;
    bool m_heard = false;  // under XWayland: the pointer was heard of off the middle
    xcb_window_t m_client = XCB_NONE;
    xcb_window_t m_frame = XCB_NONE;  // the client's ancestor that is a child of the root
    tallaro::PointerCrossings m_crossings;
};
