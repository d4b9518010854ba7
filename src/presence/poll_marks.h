// poll_marks.h
// The 50 ms poll's marks, counted from the moment Timer2 was last switched
// on, and whether a poll at the next one can change anything. Where the
// window system tells each crossing of the window's edge, the poll wakes
// only at such a mark: fades begin at the very marks at which a poll every
// 50 ms would begin them, without that poll's empty wake-ups. Times are
// milliseconds on a steady clock, handed in by the window layer.
#pragma once

#include <cstdint>
#include <optional>

namespace tallaro {

class PollMarks {
public:
    explicit constexpr PollMarks(int intervalMs) : m_interval(intervalMs) {}

    // Timer2 switched on at `now`: a fresh count, whose first mark is one
    // interval on.
    void restart(std::int64_t now) { m_start = now; }

    // The first mark at or after `now`: the moment a poll counting from the
    // last restart runs next.
    [[nodiscard]] std::int64_t nextAt(std::int64_t now) const;

    // Whether a poll can change anything: the pointer's answer, as the
    // crossings tell it, differs from the state the last fade left (opaque
    // after a fade-in, faint after a fade-out), or only a query can tell.
    [[nodiscard]] static bool pollCanChange(std::optional<bool> inside, bool leftOpaque) {
        return !inside.has_value() || *inside != leftOpaque;
    }

private:
    std::int64_t m_start = 0;
    int m_interval;
};

}  // namespace tallaro
