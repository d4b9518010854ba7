// x11_presence.h
// What the window's presence needs of an X server beyond Qt: where the
// pointer is, kept from crossing events that a connection of the program's
// own reads as they come, so that a poll costs no round trip and no system
// call, and each crossing is told as it comes; the taskbar and pager kept off; no call
// for attention left standing; each opacity level sent when it is set,
// and whether a compositing manager draws it; and whether the window
// manager can keep the window above others.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/qt/presence.h"

class X11Presence final : public Presence {
public:
    X11Presence();
    ~X11Presence() override;
    X11Presence(const X11Presence &) = delete;
    X11Presence &operator=(const X11Presence &) = delete;

    // Whether the pointer is over the window's outer rectangle (frame
    // included, right and bottom edges excluded); nothing when the program
    // is not on an X server. The rectangle is only looked up when the
    // crossing events leave the answer to a query.
    [[nodiscard]] std::optional<bool> pointerInside(const QWindow &window) override;
    // The crossings of its outermost frame, read as they come.
    [[nodiscard]] bool tellsCrossings() const override { return m_x11 != nullptr; }
    [[nodiscard]] std::optional<bool> crossedInside(const QWindow &window) override;
    // Under XWayland, the first move tells that the pointer is over it.
    void pointerMoved() override;
    // Keeps the window off the taskbar and the pager.
    void prepare(QWindow &window) override { stayOffTaskbar(window); }
    // The window's opacity property, sent at once.
    void setOpacity(QWidget &window, double opacity) override;
    // Qt's connection does not hear the change, sent at once.
    void withoutEcho(QWidget &window, const std::function<void()> &change) override;
    // Whether a compositing manager draws the screen now.
    [[nodiscard]] std::optional<bool> drawsOpacity() override;

    // The name of a window manager that cannot keep windows above others
    // (one that announces itself without that state among what it
    // supports); nothing under one that can, under none, or off X11.
    [[nodiscard]] static std::optional<std::string> windowManagerWithoutAbove();

    // Whether the window manager is KWin on Wayland, which tells an X11
    // window through XWayland of no pointer that glides off it over its edge
    // or title bar (the window stays opaque then). False off X11.
    [[nodiscard]] static bool leavesGoUnheard();

    // Asks the window manager to keep the window, not yet mapped, off the
    // taskbar and the pager. Does nothing off X11.
    static void stayOffTaskbar(const QWindow &window);

    // Sends what the window has asked of the X server so far, rather than
    // with the next repaint (a level of a fade goes out when it is set).
    // Does nothing off X11.
    static void sendNow();

private:
    struct Connection;
    std::unique_ptr<Connection> m_x11;
};
