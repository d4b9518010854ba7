// x11_unheard.h
// Changes of the window's own properties that Qt's connection does not hear
// back. Qt asks the server for notice of every property change on the
// window, for the few the window manager makes; the caption the program
// sets every second would otherwise come back as two notices, which the
// server sends one by one, each waking Qt's reader thread and then the
// program.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>

class X11Unheard {
public:
    // Runs change, whose requests go out on the connection, with the
    // connection's notices of the window's property changes turned off, and
    // turns them on again in the requests that follow, sent at once.
    // Another client's change that the server takes in between, moments
    // apart, goes unheard too: the window manager changes this window's
    // properties only as it maps it and at a user's action, and Qt (as the
    // program's watch for a call for attention) reads the whole state again
    // at its next change. Holding the server meanwhile would close even that
    // gap, but a program stopped inside (by a debugger, or ^Z in its
    // terminal) would then hold the whole display still.
    void run(xcb_connection_t *connection, xcb_window_t window,
             const std::function<void()> &change);

private:
    xcb_window_t m_window = XCB_NONE;
    std::uint32_t m_events = 0;  // what the connection asks of the window
};
