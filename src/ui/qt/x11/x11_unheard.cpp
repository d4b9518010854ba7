#include "ui/qt/x11/x11_unheard.h"

#include <cstdlib>
#include <memory>

void X11Unheard::run(xcb_connection_t *connection, xcb_window_t window,
                     const std::function<void()> &change) {
    if (window != m_window) {
        // Read once for each window Qt makes (it asks the same again when
        // the window's flags change).
        const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
            xcb_get_window_attributes_reply(connection,
                                            xcb_get_window_attributes(connection, window), nullptr),
            &std::free);
        m_window = attributes != nullptr ? window : XCB_NONE;
        m_events = attributes != nullptr ? attributes->your_event_mask : 0;
    }
    if ((m_events & XCB_EVENT_MASK_PROPERTY_CHANGE) == 0) {
        change();
        return;
    }
    const std::uint32_t quiet = m_events & ~std::uint32_t{XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &quiet);
    change();
    // Through xcb, so that whatever Xlib holds of the change goes out first.
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &m_events);
    xcb_flush(connection);
}
