// presence.h
// What staying on top, fading and the pointer test need of the window
// system, beyond Qt: one back end for X11 (x11/, also XWayland's), one for
// Wayland compositors that offer layer-shell (wayland/). FrmTallaro asks its
// back end and knows no more of the window system.
#pragma once

#include <optional>

class QWidget;
class QWindow;

class Presence {
public:
    virtual ~Presence() = default;

    // Whether the pointer is over the window, frame and title bar included;
    // nothing when this back end cannot tell.
    [[nodiscard]] virtual std::optional<bool> pointerInside(const QWindow &window) = 0;
    // Asks for what the window, not yet mapped, needs of the window system.
    virtual void prepare(QWindow &window) = 0;
    // Gives the top-level window an opacity (0 < opacity <= 1) at once.
    virtual void setOpacity(QWidget &window, double opacity) = 0;
};
