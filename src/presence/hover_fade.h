// hover_fade.h
// The fade between faint and opaque: owns curTrans and yields the levels a
// fade passes to SetTrans, one pause apart, for a window layer to play.
#pragma once

#include <cstdint>
#include <optional>

namespace tallaro {

class HoverFade {
public:
    enum class Direction { In, Out };

    static constexpr std::int16_t kStep = 5;
    static constexpr std::int16_t kUpperEnd =
        255;  // a fade-in runs while the level is at most this
    static constexpr std::int16_t kLowerEnd =
        50;  // a fade-out runs while the level is at least this
    static constexpr std::int16_t kFirstLevel = 5;  // a fade-in's opening level from nothing
    static constexpr int kPauseMs = 10;             // after each level of the loop

    // The start of a fade: a fade-in first sets its opening level, then the
    // window is shown, then the loop's first level is set. Without a first
    // level the loop does not run and the fade has ended already.
    struct Opening {
        std::optional<std::int16_t> openingLevel;
        std::optional<std::int16_t> firstLevel;
    };

    // Begins FadeIn or FadeOut from curTrans. Asked while a fade runs, it
    // changes nothing and returns nothing: a fade runs to its end.
    [[nodiscard]] std::optional<Opening> begin(Direction direction);

    // After the pause that follows each level: the loop's next level, or
    // nothing when the loop has run out; curTrans then holds the first level
    // past its end (260 after a fade-in, 45 after a fade-out).
    [[nodiscard]] std::optional<std::int16_t> next();

    bool fading() const { return m_fading; }
    // Whether the last fade was a fade-in, which leaves the window opaque
    // (a fade-out leaves it faint).
    bool leftOpaque() const { return m_direction == Direction::In; }
    std::int16_t curTrans() const { return m_curTrans; }

private:
    bool loopRuns() const;
    std::optional<std::int16_t> levelOrEnd();

    std::int16_t m_curTrans = 0;
    bool m_fading = false;
    Direction m_direction = Direction::In;
    std::int16_t m_level = 0;  // the loop's level
};

}  // namespace tallaro
