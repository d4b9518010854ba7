#include "ui/qt/pointer_position.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWindow>

#include <cstdlib>

#if defined(TALLARO_HAVE_XCB)
#include <xcb/xcb.h>
#endif

struct PointerPosition::X11 {
#if defined(TALLARO_HAVE_XCB)
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;
#endif
};

PointerPosition::PointerPosition() {
#if defined(TALLARO_HAVE_XCB)
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    m_x11 = new X11{connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root};
#endif
}

PointerPosition::~PointerPosition() {
#if defined(TALLARO_HAVE_XCB)
    if (m_x11 != nullptr) {
        xcb_disconnect(m_x11->connection);
    }
#endif
    delete m_x11;
}

QPoint PointerPosition::query(const QWindow *window) const {
#if defined(TALLARO_HAVE_XCB)
    if (m_x11 != nullptr) {
        xcb_query_pointer_reply_t *reply = xcb_query_pointer_reply(
            m_x11->connection, xcb_query_pointer(m_x11->connection, m_x11->root), nullptr);
        if (reply != nullptr) {
            // The server counts device pixels; X11 has one scale for all screens.
            const QPointF native(reply->root_x, reply->root_y);
            std::free(reply);
            const qreal ratio = window != nullptr ? window->devicePixelRatio() : 1.0;
            return (native / ratio).toPoint();
        }
    }
#else
    (void)window;
#endif
    return QCursor::pos();
}
