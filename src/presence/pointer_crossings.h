// pointer_crossings.h
// Whether the pointer is over the window's outermost frame, kept from the
// window system's crossing events on that frame, so that the 50 ms poll can
// answer without asking the server; it says when only a query can tell.
#pragma once

#include <optional>

namespace tallaro {

class PointerCrossings {
public:
    enum class Kind { Enter, Leave };
    // Normal: the pointer moved. Grab and Ungrab: a grab began or ended and
    // the events only pretend that the pointer moved to or from the grabbing
    // window, which says nothing of where it is.
    enum class Mode { Normal, Grab, Ungrab };

    struct Crossing {
        Kind kind;
        Mode mode;
        // Between the frame and a window inside it (the client): the pointer
        // stays within the frame either way.
        bool inferior;
    };

    // Takes one crossing event reported on the frame.
    void crossed(Crossing crossing);
    // The window has a new outermost frame (its first, or another after a
    // window-manager restart): what the old one saw counts no more.
    void frameReplaced();
    // Takes a query's answer, asked while inside() had none.
    void queried(bool inside);

    // Whether the pointer is over the frame; nothing while only a query of
    // the server can tell.
    [[nodiscard]] std::optional<bool> inside() const { return m_inside; }

private:
    std::optional<bool> m_inside;
};

}  // namespace tallaro
