#include "presence/pointer_crossings.h"

namespace tallaro {

void PointerCrossings::crossed(Crossing crossing) {
    if (crossing.mode != Mode::Normal) {
        m_inside.reset();
    } else if (crossing.inferior) {
        m_inside = true;
    } else {
        // A leave is believed whatever position it reports: a server that
        // shares the screen with other clients (XWayland) reports the last
        // position it saw, inside the frame, once the pointer has gone.
        m_inside = crossing.kind == Kind::Enter;
    }
}

void PointerCrossings::frameReplaced() {
    m_inside.reset();
}

void PointerCrossings::queried(bool inside) {
    m_inside = inside;
}

}  // namespace tallaro
