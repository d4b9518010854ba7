#include "ui/qt/x11/x11_window_state.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

#include "ui/qt/x11/x11_atoms.h"

X11Attention::X11Attention(xcb_connection_t *connection, xcb_window_t root)
    : m_connection(connection), m_root(root) {
    const auto atoms =
        x11::internAtoms<2>(connection, {"_NET_WM_STATE", "_NET_WM_STATE_DEMANDS_ATTENTION"});
    m_wmState = atoms[0];
    m_demandsAttention = atoms[1];
    m_recheck.setSingleShot(true);
    m_recheck.setInterval(1000);
    QObject::connect(&m_recheck, &QTimer::timeout, &m_recheck, [this] { dropAttention(); });
}

void X11Attention::watch(xcb_window_t client) {
    m_client = client;
    lookForAttention();
}

bool X11Attention::nativeEventFilter(const QByteArray &eventType, void *message,
                                     qintptr * /*result*/) {
    if (m_client == XCB_NONE || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
        const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        if (property->window == m_client && property->atom == m_wmState) {
            lookForAttention();
        }
    }
    return false;  // Qt handles every event as before
}

// Looks for a call for attention, with a new series of tries.
void X11Attention::lookForAttention() {
    m_tries = 0;
    dropAttention();
}

// The window never calls for attention; a window manager that marks it so
// (as a window mapped beside the focused one, say) is asked to take the mark
// back, and asked again a second later, a few times at most, should the mark
// stay (a window manager may take only the last of several requests that
// reach it together).
void X11Attention::dropAttention() {
    if (!x11::holds(x11::atomList(m_connection, m_client, m_wmState), m_demandsAttention)) {
        m_recheck.stop();
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = m_client;
    message.type = m_wmState;
    message.data.data32[0] = 0;  // remove
    message.data.data32[1] = m_demandsAttention;
    message.data.data32[3] = 1;  // asked by an application
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
    constexpr int kTries = 5;
    if (++m_tries < kTries) {
        m_recheck.start();
    } else {
        m_recheck.stop();
    }
}

void stayOffTaskbar(xcb_connection_t *connection, xcb_window_t window) {
    const auto atoms = x11::internAtoms<3>(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    // Qt keeps the states it finds when it maps the window.
    std::vector<xcb_atom_t> states = x11::atomList(connection, window, atoms[0]);
    for (xcb_atom_t skip : {atoms[1], atoms[2]}) {
        if (!x11::holds(states, skip)) {
            states.push_back(skip);
        }
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms[0], XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(states.size()), states.data());
}

std::optional<std::string> windowManagerName(xcb_connection_t *connection, xcb_window_t root) {
    const auto atoms =
        x11::internAtoms<2>(connection, {"_NET_SUPPORTING_WM_CHECK", "_NET_WM_NAME"});
    // A window manager that runs names a window that names itself; a stale
    // name left by one that has gone does not.
    const xcb_window_t check = x11::windowOf(connection, root, atoms[0]);
    if (check == XCB_NONE || x11::windowOf(connection, check, atoms[0]) != check) {
        return std::nullopt;
    }
    return x11::textOf(connection, check, atoms[1]);
}

std::optional<std::string> windowManagerWithoutAbove(xcb_connection_t *connection,
                                                     xcb_window_t root) {
    std::optional<std::string> name = windowManagerName(connection, root);
    const auto atoms = x11::internAtoms<2>(connection, {"_NET_SUPPORTED", "_NET_WM_STATE_ABOVE"});
    if (!name || x11::holds(x11::atomList(connection, root, atoms[0]), atoms[1])) {
        return std::nullopt;
    }
    return name;
}
