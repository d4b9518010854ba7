// x11_crossings.h
// Where the pointer is, from the crossings of the window's outermost frame
// that the program's own X connection reports: the polls answer
// without a round trip, and ask the server only when the crossings cannot
// tell (at first, after a new frame, during a grab).
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
    X11Crossings(xcb_connection_t *connection, xcb_window_t root)
        : m_connection(connection), m_root(root) {}

    // Follows the window: its moves between frames, and the pointer's
    // crossings of its outermost frame.
    void follow(xcb_window_t client);
    xcb_window_t client() const { return m_client; }

    // Takes the events that have come: from the socket when it has
    // something to read, otherwise those that xcb read while it waited for
    // a reply. Events that are none of the crossings' go to others.
    void takeEvents(bool readSocket,
                    const std::function<void(const xcb_generic_event_t &)> &others = {});

    // Whether the pointer is over the outermost frame as the crossings tell;
    // nothing while only a query can.
    [[nodiscard]] std::optional<bool> known() const { return m_crossings.inside(); }

    // Asks the server whether the pointer is over the window's outer
    // rectangle (device-independent pixels, at the screen's pixel ratio).
    [[nodiscard]] bool query(const QRect &outer, qreal ratio);

private:
    void findFrame();
    void takeCrossing(std::uint8_t type, const xcb_enter_notify_event_t &crossing);

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    xcb_window_t m_client = XCB_NONE;
    xcb_window_t m_frame = XCB_NONE;  // the client's ancestor that is a child of the root
    tallaro::PointerCrossings m_crossings;
};
