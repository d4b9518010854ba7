// wayland_presence.h
// Presence on a Wayland compositor that offers layer-shell, for a window in
// a LayerFrame: the pointer is over the window from the surface's pointer
// enter until its leave (its title bar and frame are part of the surface),
// and each opacity is the surface's alpha multiplier (wp_alpha_modifier_v1),
// committed at once, or, where the compositor has none, drawn by the frame.
// Staying on top and off the taskbar come with the layer.
#pragma once

#include <QObject>

#include <cstdint>
#include <optional>

#include "ui/qt/presence.h"

struct wl_display;
struct wl_event_queue;
struct wl_registry;
struct wl_surface;
struct wp_alpha_modifier_v1;
struct wp_alpha_modifier_surface_v1;

class WaylandPresence final : public QObject, public Presence {
public:
    WaylandPresence();
    ~WaylandPresence() override;
    WaylandPresence(const WaylandPresence &) = delete;
    WaylandPresence &operator=(const WaylandPresence &) = delete;

    // Whether the compositor of the session in WAYLAND_DISPLAY offers
    // layer-shell; asked on a connection of its own, before Qt connects.
    [[nodiscard]] static bool compositorOffersLayerShell();
    // Whether this compositor draws a surface with the alpha its client
    // sets; where it does not, the window's LayerFrame must draw it.
    [[nodiscard]] bool compositorFades() const { return m_alphaModifier != nullptr; }

    [[nodiscard]] std::optional<bool> pointerInside(const QWindow &window) override;
    [[nodiscard]] bool tellsCrossings() const override { return true; }
    [[nodiscard]] std::optional<bool> crossedInside(const QWindow & /*window*/) override {
        return m_inside;
    }
    void prepare(QWindow &window) override;
    void setOpacity(QWidget &window, double opacity) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void announce(void *data, wl_registry *registry, std::uint32_t name,
                         const char *interface, std::uint32_t version);

    wl_display *m_display = nullptr;
    wl_event_queue *m_queue = nullptr;
    wp_alpha_modifier_v1 *m_alphaModifier = nullptr;
    wl_surface *m_surface = nullptr;  // the one m_alpha belongs to
    wp_alpha_modifier_surface_v1 *m_alpha = nullptr;
    std::uint32_t m_multiplier = 0xFFFFFFFF;  // the surface's now
    bool m_inside = false;
};
