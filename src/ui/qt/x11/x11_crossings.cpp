#include "ui/qt/x11/x11_crossings.h"

#include <QPoint>
#include <QRect>

#include "ui/qt/x11/x11_atoms.h"

namespace {

tallaro::PointerCrossings::Mode crossingMode(std::uint8_t mode) {
    switch (mode) {
        case XCB_NOTIFY_MODE_GRAB:
            return tallaro::PointerCrossings::Mode::Grab;
        case XCB_NOTIFY_MODE_UNGRAB:
            return tallaro::PointerCrossings::Mode::Ungrab;
        default:
            return tallaro::PointerCrossings::Mode::Normal;
    }
}

}  // namespace

void X11Crossings::follow(xcb_window_t client) {
    m_client = client;
    findFrame();
}

void X11Crossings::findFrame() {
    xcb_window_t window = m_client;
    for (;;) {
        const x11::Owned<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (tree == nullptr || tree->parent == m_root || tree->parent == XCB_NONE) {
            break;
        }
        window = tree->parent;
    }
    m_frame = window;
    constexpr std::uint32_t kCrossings = XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
    const std::uint32_t clientMask =
        XCB_EVENT_MASK_STRUCTURE_NOTIFY | (m_frame == m_client ? kCrossings : 0);
    xcb_change_window_attributes(m_connection, m_client, XCB_CW_EVENT_MASK, &clientMask);
    if (m_frame != m_client) {
        xcb_change_window_attributes(m_connection, m_frame, XCB_CW_EVENT_MASK, &kCrossings);
    }
    xcb_flush(m_connection);
    m_crossings.frameReplaced();
}

void X11Crossings::takeEvents(bool readSocket,
                              const std::function<void(const xcb_generic_event_t &)> &others) {
    bool reparented = false;
    for (;;) {
        const x11::Owned<xcb_generic_event_t> event{readSocket
                                                        ? xcb_poll_for_event(m_connection)
                                                        : xcb_poll_for_queued_event(m_connection)};
        if (event == nullptr) {
            break;
        }
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_ENTER_NOTIFY || type == XCB_LEAVE_NOTIFY) {
            takeCrossing(type, *reinterpret_cast<const xcb_enter_notify_event_t *>(event.get()));
        } else if (type == XCB_REPARENT_NOTIFY) {
            const auto *reparent =
                reinterpret_cast<const xcb_reparent_notify_event_t *>(event.get());
            reparented = reparented || reparent->window == m_client;
        } else if (others && event->response_type != 0) {
            others(*event);
        }
        // An error is one of a request on a frame that has gone.
    }
    if (reparented) {
        findFrame();
    }
}

void X11Crossings::takeCrossing(std::uint8_t type, const xcb_enter_notify_event_t &crossing) {
    using tallaro::PointerCrossings;
    if (crossing.event != m_frame || unheardOf(crossing.root_x, crossing.root_y)) {
        return;
    }
    m_heard = true;
    m_crossings.crossed(
        {type == XCB_ENTER_NOTIFY ? PointerCrossings::Kind::Enter : PointerCrossings::Kind::Leave,
         crossingMode(crossing.mode), crossing.detail == XCB_NOTIFY_DETAIL_INFERIOR});
}

bool X11Crossings::moved() {
    if (!m_xwayland || m_heard) {
        return false;
    }
    m_heard = true;
    const bool changed = m_crossings.inside() != true;
    m_crossings.queried(true);
    return changed;
}

bool X11Crossings::unheardOf(std::int16_t x, std::int16_t y) const {
    if (!m_xwayland || m_heard) {
        return false;
    }
    for (xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
         roots.rem > 0; xcb_screen_next(&roots)) {
        if (roots.data->root == m_root) {
            return x == roots.data->width_in_pixels / 2 && y == roots.data->height_in_pixels / 2;
        }
    }
    return false;
}

// Inside when the pointer is over some window of this screen and within the
// outer rectangle. An XWayland server whose pointer is over a native Wayland
// window names no window and keeps the last position it saw.
bool X11Crossings::query(const QRect &outer, qreal ratio) {
    const x11::Owned<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    if (reply == nullptr) {
        return false;
    }
    if (unheardOf(reply->root_x, reply->root_y)) {
        m_crossings.queried(false);
        return false;
    }
    // The server counts device pixels; X11 has one scale for all screens.
    const QPoint position = (QPointF(reply->root_x, reply->root_y) / ratio).toPoint();
    const bool within = outer.contains(position);
    const bool inside = reply->same_screen != 0 && reply->child != XCB_NONE && within;
    // Over another window within the rectangle (a menu of the window's own,
    // say) the crossings of the frame will not tell when it leaves.
    if (reply->child == m_frame || reply->child == XCB_NONE || !within) {
        m_crossings.queried(inside);
    }
    return inside;
}
