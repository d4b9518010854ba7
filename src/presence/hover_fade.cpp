#include "presence/hover_fade.h"

namespace tallaro {

std::optional<HoverFade::Opening> HoverFade::begin(Direction direction) {
    if (m_fading) {
        return std::nullopt;
    }
    m_fading = true;
    m_direction = direction;
    m_level = m_curTrans;
    Opening opening;
    if (direction == Direction::In) {
        opening.openingLevel = m_curTrans < 1 ? kFirstLevel : m_curTrans;
    }
    opening.firstLevel = levelOrEnd();
    return opening;
}

std::optional<std::int16_t> HoverFade::next() {
    if (!m_fading) {
        return std::nullopt;
    }
    m_level =
        static_cast<std::int16_t>(m_direction == Direction::In ? m_level + kStep : m_level - kStep);
    return levelOrEnd();
}

bool HoverFade::loopRuns() const {
    return m_direction == Direction::In ? m_level <= kUpperEnd : m_level >= kLowerEnd;
}

std::optional<std::int16_t> HoverFade::levelOrEnd() {
    if (loopRuns()) {
        return m_level;
    }
    m_curTrans = m_level;
    m_fading = false;
    return std::nullopt;
}

}  // namespace tallaro
