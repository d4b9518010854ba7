// x11_presence.h
// What the window's presence needs of an X server beyond Qt: where the
// pointer is for the 20 polls a second, kept from crossing events that a
// connection of the program's own reads as they come, so that a poll costs
// no round trip and no system call; the taskbar and pager kept off; and no
// call for attention left standing.
#pragma once

#include <memory>
#include <optional>

class QWindow;

class X11Presence {
public:
    X11Presence();
    ~X11Presence();
    X11Presence(const X11Presence &) = delete;
    X11Presence &operator=(const X11Presence &) = delete;

    // Whether the pointer is over the window's outer rectangle (frame
    // included, right and bottom edges excluded); nothing when the program
    // is not on an X server. The rectangle is only looked up when the
    // crossing events leave the answer to a query.
    [[nodiscard]] std::optional<bool> pointerInside(const QWindow &window);

    // Asks the window manager to keep the window, not yet mapped, off the
    // taskbar and the pager. Does nothing off X11.
    static void stayOffTaskbar(const QWindow &window);

private:
    struct Connection;
    std::unique_ptr<Connection> m_x11;
};
