#include "ui/qt/x11/x11_presence.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRect>
#include <QSocketNotifier>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

#if defined(TALLARO_HAVE_XCB)
#include <xcb/xcb.h>

#include "ui/qt/x11/x11_atoms.h"
#include "ui/qt/x11/x11_compositor.h"
#include "ui/qt/x11/x11_crossings.h"
#include "ui/qt/x11/x11_unheard.h"
#include "ui/qt/x11/x11_window_state.h"

namespace {

// Qt's own connection to the X server; none off X11.
xcb_connection_t *qtConnection() {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The root of a screen of the display; the first one's for a screen it has not.
xcb_window_t rootOf(xcb_connection_t *connection, int screen) {
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen && roots.rem > 1; ++i) {
        xcb_screen_next(&roots);
    }
    return roots.data->root;
}

xcb_window_t firstRoot(xcb_connection_t *connection) {
    return rootOf(connection, 0);
}

// XWayland's extension says so from its version 23 on; before, the Wayland
// session around the X display does.
bool onXWayland(xcb_connection_t *connection) {
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return x11::isXWayland(connection) || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

// The program's own connection reports the pointer's crossings of the
// window's outermost frame, the window's moves between frames and the
// compositing manager's comings and goings. Its
// socket is read only when the server has sent something, so that a poll
// costs no system call. The window's state is watched on Qt's connection,
// which receives its property changes anyway: asked for here, they would
// wake the program twice a second, once for each caption property.
struct X11Presence::Connection {
    Connection(xcb_connection_t *server, int screen, bool xwayland)
        : connection(server),
          crossings(server, firstRoot(server), xwayland),
          attention(server, firstRoot(server)),
          compositor(server, rootOf(server, screen), screen) {}
    ~Connection() {
        notifier.reset();
        xcb_disconnect(connection);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Takes the events that have come (readSocket: from the socket) and
    // tells, from the event loop, a crossing that changed the answer.
    void takeEvents(bool readSocket) {
        const std::optional<bool> before = crossings.known();
        crossings.takeEvents(readSocket,
                             [this](const xcb_generic_event_t &event) { compositor.take(event); });
        if (crossings.known() != before && crossed) {
            QMetaObject::invokeMethod(notifier.get(), crossed, Qt::QueuedConnection);
        }
    }

    xcb_connection_t *connection;
    std::function<void()> crossed;
    X11Crossings crossings;
    X11Attention attention;
    X11Compositor compositor;
    X11Unheard unheard;  // on Qt's connection
    std::unique_ptr<QSocketNotifier> notifier;
};

X11Presence::X11Presence() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    int screen = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    m_x11 = std::make_unique<Connection>(connection, screen, onXWayland(connection));
    Connection *x11 = m_x11.get();
    x11->notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection),
                                                      QSocketNotifier::Read);
    x11->crossed = [this] { tellCrossing(); };
    QObject::connect(x11->notifier.get(), &QSocketNotifier::activated, x11->notifier.get(), [x11] {
        x11->takeEvents(true);
        // A broken connection stays readable: it is not watched any more.
        if (xcb_connection_has_error(x11->connection) != 0) {
            x11->notifier->setEnabled(false);
        }
    });
    // Events that xcb read from the socket while it waited for a reply wait
    // in its queue, where the socket's notifier does not see them: they are
    // taken before the program sleeps.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     x11->notifier.get(), [x11] { x11->takeEvents(false); });
    QCoreApplication::instance()->installNativeEventFilter(&x11->attention);
}

std::optional<bool> X11Presence::crossedInside(const QWindow &window) {
    if (m_x11 == nullptr) {
        return std::nullopt;
    }
    if (window.handle() == nullptr) {
        return false;
    }
    const auto client = static_cast<xcb_window_t>(window.winId());
    if (client != m_x11->crossings.client()) {
        m_x11->crossings.follow(client);
        m_x11->attention.watch(client);
    }
    m_x11->crossings.takeEvents(false);
    return m_x11->crossings.known();
}

void X11Presence::pointerMoved() {
    if (m_x11 != nullptr && m_x11->crossings.moved()) {
        tellCrossing();
    }
}

std::optional<bool> X11Presence::pointerInside(const QWindow &window) {
    if (m_x11 == nullptr) {
        return std::nullopt;
    }
    if (const std::optional<bool> known = crossedInside(window)) {
        return *known;
    }
    // The outer rectangle as the window system has it now.
    return m_x11->crossings.query(window.frameGeometry(), window.devicePixelRatio());
}

std::optional<bool> X11Presence::drawsOpacity() {
    if (m_x11 == nullptr) {
        return std::nullopt;
    }
    // The notices the server has sent so far, read now.
    m_x11->takeEvents(true);
    return m_x11->compositor.draws();
}

std::optional<std::string> X11Presence::windowManagerWithoutAbove() {
    xcb_connection_t *connection = qtConnection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    return ::windowManagerWithoutAbove(connection, firstRoot(connection));
}

bool X11Presence::leavesGoUnheard() {
    xcb_connection_t *connection = qtConnection();
    return connection != nullptr && onXWayland(connection) &&
           ::windowManagerName(connection, firstRoot(connection)) == "KWin";
}

void X11Presence::stayOffTaskbar(const QWindow &window) {
    xcb_connection_t *connection = qtConnection();
    if (connection != nullptr && window.handle() != nullptr) {
        ::stayOffTaskbar(connection, static_cast<xcb_window_t>(window.winId()));
    }
}

void X11Presence::sendNow() {
    if (xcb_connection_t *connection = qtConnection()) {
        xcb_flush(connection);
    }
}

void X11Presence::withoutEcho(QWidget &window, const std::function<void()> &change) {
    xcb_connection_t *connection = qtConnection();
    if (m_x11 == nullptr || connection == nullptr || window.windowHandle() == nullptr) {
        change();
        return;
    }
    m_x11->unheard.run(connection, static_cast<xcb_window_t>(window.winId()), change);
}

#else

struct X11Presence::Connection {};

X11Presence::X11Presence() = default;

std::optional<bool> X11Presence::pointerInside(const QWindow & /*window*/) {
    return std::nullopt;
}

std::optional<bool> X11Presence::crossedInside(const QWindow & /*window*/) {
    return std::nullopt;
}

void X11Presence::pointerMoved() {}

std::optional<bool> X11Presence::drawsOpacity() {
    return std::nullopt;
}

std::optional<std::string> X11Presence::windowManagerWithoutAbove() {
    return std::nullopt;
}

bool X11Presence::leavesGoUnheard() {
    return false;
}

void X11Presence::stayOffTaskbar(const QWindow & /*window*/) {}

void X11Presence::sendNow() {}

void X11Presence::withoutEcho(QWidget & /*window*/, const std::function<void()> &change) {
    change();
}

#endif

X11Presence::~X11Presence() = default;

void X11Presence::setOpacity(QWidget &window, double opacity) {
    window.setWindowOpacity(opacity);
    sendNow();
}
