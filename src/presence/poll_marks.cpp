#include "presence/poll_marks.h"

namespace tallaro {

std::int64_t PollMarks::nextAt(std::int64_t now) const {
    if (now <= m_start) {
        return m_start + m_interval;
    }
    // Whole intervals since the start, rounded up: a mark that is due now
    // runs now.
    const std::int64_t intervals = (now - m_start + m_interval - 1) / m_interval;
    return m_start + intervals * m_interval;
}

}  // namespace tallaro
