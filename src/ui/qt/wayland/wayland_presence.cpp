#include "ui/qt/wayland/wayland_presence.h"

#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <cstring>

#include "ui/qt/wayland/layer_frame.h"
#include "wayland/alpha-modifier-v1-client.h"

namespace {

void ignoreRemoval(void * /*data*/, wl_registry * /*registry*/, std::uint32_t /*name*/) {}

// Notes whether the registry announces layer-shell.
void noteLayerShell(void *data, wl_registry * /*registry*/, std::uint32_t /*name*/,
                    const char *interface, std::uint32_t /*version*/) {
    if (std::strcmp(interface, "zwlr_layer_shell_v1") == 0) {
        *static_cast<bool *>(data) = true;
    }
}

}  // namespace

bool WaylandPresence::compositorOffersLayerShell() {
    wl_display *display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return false;
    }
    bool offered = false;
    static const wl_registry_listener listener{noteLayerShell, ignoreRemoval};
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answered && offered;
}

void WaylandPresence::announce(void *data, wl_registry *registry, std::uint32_t name,
                               const char *interface, std::uint32_t /*version*/) {
    auto *self = static_cast<WaylandPresence *>(data);
    if (std::strcmp(interface, wp_alpha_modifier_v1_interface.name) == 0) {
        self->m_alphaModifier = static_cast<wp_alpha_modifier_v1 *>(
            wl_registry_bind(registry, name, &wp_alpha_modifier_v1_interface, 1));
    }
}

// The globals are asked for on a queue of the presence's own, on Qt's
// connection, so that Qt never sees their events.
WaylandPresence::WaylandPresence() {
    auto *wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>();
    if (wayland == nullptr || wayland->display() == nullptr) {
        return;
    }
    m_display = wayland->display();
    m_queue = wl_display_create_queue(m_display);
    auto *wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(m_display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper), m_queue);
    wl_registry *registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    static const wl_registry_listener listener{announce, ignoreRemoval};
    wl_registry_add_listener(registry, &listener, this);
    wl_display_roundtrip_queue(m_display, m_queue);
    wl_registry_destroy(registry);
}

WaylandPresence::~WaylandPresence() {
    if (m_alpha != nullptr) {
        wp_alpha_modifier_surface_v1_destroy(m_alpha);
    }
    if (m_alphaModifier != nullptr) {
        wp_alpha_modifier_v1_destroy(m_alphaModifier);
    }
    if (m_queue != nullptr) {
        wl_event_queue_destroy(m_queue);
    }
}

std::optional<bool> WaylandPresence::pointerInside(const QWindow & /*window*/) {
    return m_inside;
}

void WaylandPresence::prepare(QWindow &window) {
    window.removeEventFilter(this);
    window.installEventFilter(this);
}

// The window itself hears of the surface's pointer enter and leave; its
// widgets' own enter and leave events come with every move between them.
bool WaylandPresence::eventFilter(QObject * /*watched*/, QEvent *event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        m_inside = event->type() == QEvent::Enter;
        tellCrossing();
    }
    return false;
}

void WaylandPresence::setOpacity(QWidget &window, double opacity) {
    if (m_alphaModifier == nullptr) {
        // The compositor has no alpha for surfaces: the frame draws it.
        if (auto *frame = dynamic_cast<LayerFrame *>(&window)) {
            frame->setDrawnOpacity(opacity);
        }
        return;
    }
    QWindow *handle = window.windowHandle();
    if (handle == nullptr) {
        return;
    }
    auto *surface = static_cast<wl_surface *>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", handle));
    if (surface == nullptr) {
        return;
    }
    if (surface != m_surface) {
        if (m_alpha != nullptr) {
            wp_alpha_modifier_surface_v1_destroy(m_alpha);
        }
        m_alpha = wp_alpha_modifier_v1_get_surface(m_alphaModifier, surface);
        m_surface = surface;
        m_multiplier = 0xFFFFFFFF;  // a new surface is drawn opaque
    }
    // The multiplier counts the full alpha as 2^32 - 1. One the surface
    // has already is not sent again, as an X server's property would not be.
    const auto multiplier = static_cast<std::uint32_t>(std::lround(opacity * 4294967295.0));
    if (multiplier == m_multiplier) {
        return;
    }
    m_multiplier = multiplier;
    wp_alpha_modifier_surface_v1_set_multiplier(m_alpha, multiplier);
    wl_surface_commit(surface);
    wl_display_flush(m_display);
}
