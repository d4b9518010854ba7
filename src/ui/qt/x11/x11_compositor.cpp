#include "ui/qt/x11/x11_compositor.h"

#include <xcb/xfixes.h>

#include <string>
#include <string_view>

#include "ui/qt/x11/x11_atoms.h"

X11Compositor::X11Compositor(xcb_connection_t *connection, xcb_window_t root, int screen) {
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    m_selection = x11::internAtoms<1>(connection, {std::string_view(name)})[0];
    m_xwayland = x11::isXWayland(connection);
    const xcb_query_extension_reply_t *fixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (m_selection != XCB_ATOM_NONE && fixes != nullptr && fixes->present != 0) {
        // XFixes serves a client once told which version it speaks.
        const x11::Owned<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
            connection, xcb_xfixes_query_version(connection, 1, 0), nullptr));
        if (version != nullptr) {
            // Asked before the owner, so that no change falls between the two.
            xcb_xfixes_select_selection_input(
                connection, root, m_selection,
                XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                    XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                    XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
            m_notice = static_cast<std::uint8_t>(fixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        }
    }
    const x11::Owned<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, m_selection), nullptr));
    m_owner = owner != nullptr ? owner->owner : xcb_window_t{XCB_NONE};
}

void X11Compositor::take(const xcb_generic_event_t &event) {
    if (m_notice == 0 || (event.response_type & 0x7f) != m_notice) {
        return;
    }
    const auto &notice = reinterpret_cast<const xcb_xfixes_selection_notify_event_t &>(event);
    if (notice.selection == m_selection) {
        // The owner's window destroyed or its client gone: nobody owns it.
        m_owner = notice.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER
                      ? notice.owner
                      : xcb_window_t{XCB_NONE};
    }
}
