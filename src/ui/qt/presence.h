// presence.h
// What staying on top, fading and the pointer test need of the window
// system, beyond Qt: one back end for X11 (x11/, also XWayland's), one for
// Wayland compositors that offer layer-shell (wayland/). FrmTallaro asks its
// back end and knows no more of the window system.
#pragma once

#include <functional>
#include <optional>
#include <utility>

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

    // Whether this back end tells each crossing of the window's edge, so
    // that the poll may sleep until one comes.
    [[nodiscard]] virtual bool tellsCrossings() const { return false; }
    // Whether the pointer is over the window as the crossings tell, without
    // asking the window system; nothing while only a query can tell.
    [[nodiscard]] virtual std::optional<bool> crossedInside(const QWindow & /*window*/) {
        return std::nullopt;
    }
    // Qt heard the pointer move over the window (a back end that cannot
    // trust the window system's first word on it learns it here).
    virtual void pointerMoved() {}
    // Whether the screen shows the window at the opacity it is given: a
    // compositing manager draws it. Nothing where this back end cannot tell.
    [[nodiscard]] virtual std::optional<bool> drawsOpacity() { return std::nullopt; }
    // Runs a change of the window's own properties (its caption) so that
    // the window system does not tell the program of it again.
    virtual void withoutEcho(QWidget & /*window*/, const std::function<void()> &change) {
        change();
    }

    // Calls the handler from the event loop whenever a crossing may have
    // changed that answer.
    void onCrossing(std::function<void()> handler) { m_crossed = std::move(handler); }

protected:
    void tellCrossing() const {
        if (m_crossed) {
            m_crossed();
        }
    }

private:
    std::function<void()> m_crossed;
};
