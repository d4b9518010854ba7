#include "ui/qt/x11_presence.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRect>
#include <QSocketNotifier>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#if defined(TALLARO_HAVE_XCB)
#include <xcb/xcb.h>

#include "presence/pointer_crossings.h"

namespace {

template <typename T>
struct FreeReply {
    void operator()(T *reply) const { std::free(reply); }
};
// A reply or an event of xcb, freed when it goes.
template <typename T>
using Owned = std::unique_ptr<T, FreeReply<T>>;

template <std::size_t N>
std::array<xcb_atom_t, N> internAtoms(xcb_connection_t *connection,
                                      const std::array<std::string_view, N> &names) {
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (std::size_t i = 0; i < N; ++i) {
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(names[i].size()),
                                     names[i].data());
    }
    std::array<xcb_atom_t, N> atoms{};
    for (std::size_t i = 0; i < N; ++i) {
        const Owned<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[i], nullptr));
        atoms[i] = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return atoms;
}

// The atoms a window's _NET_WM_STATE holds.
std::vector<xcb_atom_t> windowStates(xcb_connection_t *connection, xcb_window_t window,
                                     xcb_atom_t wmState) {
    const Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, wmState, XCB_ATOM_ATOM, 0, 64),
        nullptr));
    if (reply == nullptr || reply->format != 32 || reply->type != XCB_ATOM_ATOM) {
        return {};
    }
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    return {atoms, atoms + xcb_get_property_value_length(reply.get()) / 4};
}

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

// The program's own connection reports the pointer's crossings of the
// window's outermost frame and the window's moves between frames. Its
// socket is read only when the server has sent something, so that a poll
// costs no system call. The window's state is watched on Qt's connection,
// which receives its property changes anyway: asked for here, they would
// wake the program twice a second, once for each caption property.
struct X11Presence::Connection : QAbstractNativeEventFilter {
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t demandsAttention = XCB_ATOM_NONE;
    xcb_window_t client = XCB_NONE;
    xcb_window_t frame = XCB_NONE;  // the client's ancestor that is a child of the root
    tallaro::PointerCrossings crossings;
    int attentionRecheck = 0;  // polls until a call for attention is looked for again
    int attentionTries = 0;
    std::unique_ptr<QSocketNotifier> notifier;

    ~Connection() override {
        notifier.reset();
        xcb_disconnect(connection);
    }

    // Follows the window: its moves between frames, and the pointer's
    // crossings of its outermost frame; and takes back a call for attention
    // made before it was followed.
    void watch(xcb_window_t window) {
        client = window;
        findFrame();
        lookForAttention();
    }

    void findFrame() {
        xcb_window_t window = client;
        for (;;) {
            const Owned<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
            if (tree == nullptr || tree->parent == root || tree->parent == XCB_NONE) {
                break;
            }
            window = tree->parent;
        }
        frame = window;
        constexpr std::uint32_t kCrossings =
            XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
        const std::uint32_t clientMask =
            XCB_EVENT_MASK_STRUCTURE_NOTIFY | (frame == client ? kCrossings : 0);
        xcb_change_window_attributes(connection, client, XCB_CW_EVENT_MASK, &clientMask);
        if (frame != client) {
            xcb_change_window_attributes(connection, frame, XCB_CW_EVENT_MASK, &kCrossings);
        }
        xcb_flush(connection);
        crossings.frameReplaced();
    }

    // Takes the events that have come: from the socket when it has
    // something to read, otherwise those that xcb read while it waited for
    // a reply.
    void takeEvents(bool readSocket) {
        bool reparented = false;
        for (;;) {
            const Owned<xcb_generic_event_t> event{readSocket
                                                       ? xcb_poll_for_event(connection)
                                                       : xcb_poll_for_queued_event(connection)};
            if (event == nullptr) {
                break;
            }
            const std::uint8_t type = event->response_type & 0x7f;
            if (type == XCB_ENTER_NOTIFY || type == XCB_LEAVE_NOTIFY) {
                takeCrossing(type,
                             *reinterpret_cast<const xcb_enter_notify_event_t *>(event.get()));
            } else if (type == XCB_REPARENT_NOTIFY) {
                const auto *reparent =
                    reinterpret_cast<const xcb_reparent_notify_event_t *>(event.get());
                reparented = reparented || reparent->window == client;
            }
            // Anything else is an error of a request on a frame that has gone.
        }
        if (reparented) {
            findFrame();
        }
    }

    void takeCrossing(std::uint8_t type, const xcb_enter_notify_event_t &crossing) {
        using tallaro::PointerCrossings;
        if (crossing.event != frame) {
            return;
        }
        crossings.crossed({type == XCB_ENTER_NOTIFY ? PointerCrossings::Kind::Enter
                                                    : PointerCrossings::Kind::Leave,
                           crossingMode(crossing.mode),
                           crossing.detail == XCB_NOTIFY_DETAIL_INFERIOR});
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message,
                           qintptr * /*result*/) override {
        if (client == XCB_NONE || eventType != "xcb_generic_event_t") {
            return false;
        }
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (property->window == client && property->atom == wmState) {
                lookForAttention();
            }
        }
        return false;  // Qt handles every event as before
    }

    // Looks for a call for attention, with a new series of tries.
    void lookForAttention() {
        attentionTries = 0;
        dropAttention();
    }

    // Counts the polls to the next look for a call for attention.
    void pollAttention() {
        if (attentionRecheck > 0 && --attentionRecheck == 0) {
            dropAttention();
        }
    }

    // The window never calls for attention; a window manager that marks it
    // so (as a window mapped beside the focused one, say) is asked to take
    // the mark back, and asked again a second later, a few times at most,
    // should the mark stay (a window manager may take only the last of
    // several requests that reach it together).
    void dropAttention() {
        const std::vector<xcb_atom_t> states = windowStates(connection, client, wmState);
        if (std::find(states.begin(), states.end(), demandsAttention) == states.end()) {
            attentionRecheck = 0;
            return;
        }
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = client;
        message.type = wmState;
        message.data.data32[0] = 0;  // remove
        message.data.data32[1] = demandsAttention;
        message.data.data32[3] = 1;  // asked by an application
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&message));
        xcb_flush(connection);
        constexpr int kPollsASecond = 20;
        constexpr int kTries = 5;
        attentionRecheck = ++attentionTries < kTries ? kPollsASecond : 0;
    }

    // Asks the server where the pointer is: inside when it is over some
    // window of this screen and within the outer rectangle. An XWayland
    // server whose pointer is over a native Wayland window names no window
    // and keeps the last position it saw.
    bool query(const QRect &outer, qreal ratio) {
        const Owned<xcb_query_pointer_reply_t> reply(
            xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
        if (reply == nullptr) {
            return false;
        }
        // The server counts device pixels; X11 has one scale for all screens.
        const QPoint position = (QPointF(reply->root_x, reply->root_y) / ratio).toPoint();
        const bool within = outer.contains(position);
        const bool inside = reply->same_screen != 0 && reply->child != XCB_NONE && within;
        // Over another window within the rectangle (a menu of the window's
        // own, say) the crossings of the frame will not tell when it leaves.
        if (reply->child == frame || reply->child == XCB_NONE || !within) {
            crossings.queried(inside);
        }
        return inside;
    }
};

X11Presence::X11Presence() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    m_x11 = std::make_unique<Connection>();
    Connection *x11 = m_x11.get();
    x11->connection = connection;
    x11->root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto atoms =
        internAtoms<2>(connection, {"_NET_WM_STATE", "_NET_WM_STATE_DEMANDS_ATTENTION"});
    x11->wmState = atoms[0];
    x11->demandsAttention = atoms[1];
    x11->notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection),
                                                      QSocketNotifier::Read);
    QObject::connect(x11->notifier.get(), &QSocketNotifier::activated, x11->notifier.get(), [x11] {
        x11->takeEvents(true);
        // A broken connection stays readable: it is not watched any more.
        if (xcb_connection_has_error(x11->connection) != 0) {
            x11->notifier->setEnabled(false);
        }
    });
    QCoreApplication::instance()->installNativeEventFilter(x11);
}

std::optional<bool> X11Presence::pointerInside(const QWindow &window) {
    if (m_x11 == nullptr) {
        return std::nullopt;
    }
    if (window.handle() == nullptr) {
        return false;
    }
    const auto client = static_cast<xcb_window_t>(window.winId());
    if (client != m_x11->client) {
        m_x11->watch(client);
    }
    m_x11->takeEvents(false);
    m_x11->pollAttention();
    if (const std::optional<bool> known = m_x11->crossings.inside()) {
        return *known;
    }
    // The outer rectangle as the window system has it now.
    return m_x11->query(window.frameGeometry(), window.devicePixelRatio());
}

void X11Presence::stayOffTaskbar(const QWindow &window) {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr || window.handle() == nullptr) {
        return;
    }
    const auto atoms = internAtoms<3>(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    const auto id = static_cast<xcb_window_t>(window.winId());
    // Qt keeps the states it finds when it maps the window.
    std::vector<xcb_atom_t> states = windowStates(connection, id, atoms[0]);
    for (xcb_atom_t skip : {atoms[1], atoms[2]}) {
        if (std::find(states.begin(), states.end(), skip) == states.end()) {
            states.push_back(skip);
        }
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atoms[0], XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(states.size()), states.data());
}

#else

struct X11Presence::Connection {};

X11Presence::X11Presence() = default;

std::optional<bool> X11Presence::pointerInside(const QWindow & /*window*/) {
    return std::nullopt;
}

void X11Presence::stayOffTaskbar(const QWindow & /*window*/) {}

#endif

X11Presence::~X11Presence() = default;
