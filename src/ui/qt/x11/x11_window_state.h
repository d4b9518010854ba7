// x11_window_state.h
// The window's _NET_WM_STATE as the program keeps it: off the taskbar and the
// pager, no call for attention left standing; and whether the window manager
// can keep the window above others at all.
#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QTimer>

#include <optional>
#include <string>

// Takes back every call for attention that a window manager puts on the
// window. It watches the window's state on Qt's connection, which receives
// its property changes anyway, and asks on the program's own.
class X11Attention : public QAbstractNativeEventFilter {
public:
    X11Attention(xcb_connection_t *connection, xcb_window_t root);

    // Watches the window from now on, and takes back a call for attention
    // made before.
    void watch(xcb_window_t client);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void lookForAttention();
    void dropAttention();

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_wmState = XCB_ATOM_NONE;
    xcb_atom_t m_demandsAttention = XCB_ATOM_NONE;
    xcb_window_t m_client = XCB_NONE;
    QTimer m_recheck;  // until a call for attention is looked for again
    int m_tries = 0;
};

// Asks the window manager to keep the window, not yet mapped, off the
// taskbar and the pager.
void stayOffTaskbar(xcb_connection_t *connection, xcb_window_t window);

// The name of the window manager that announces itself (EWMH); nothing
// under none, or where one that has gone left its announcement behind.
[[nodiscard]] std::optional<std::string> windowManagerName(xcb_connection_t *connection,
                                                           xcb_window_t root);

// The name of the window manager when it announces itself (EWMH) without
// _NET_WM_STATE_ABOVE among what it supports: it cannot keep the window above
// others. Nothing under a window manager that can, or under none at all.
[[nodiscard]] std::optional<std::string> windowManagerWithoutAbove(xcb_connection_t *connection,
                                                                   xcb_window_t root);
