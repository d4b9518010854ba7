#include "presence/hover_fade.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "presence/window_opacity.h"

namespace tallaro {
namespace {

using Direction = HoverFade::Direction;
using Levels = std::vector<std::int16_t>;

// A fade as the window plays it: the opening level, if any, then the loop's
// levels, each of which is followed by one pause.
struct Played {
    std::optional<std::int16_t> opening;
    Levels loop;
};

Played play(HoverFade &fade, Direction direction) {
    Played played;
    const std::optional<HoverFade::Opening> opening = fade.begin(direction);
    EXPECT_TRUE(opening.has_value());
    if (!opening) {
        return played;
    }
    played.opening = opening->openingLevel;
    for (std::optional<std::int16_t> level = opening->firstLevel; level; level = fade.next()) {
        played.loop.push_back(*level);
        EXPECT_TRUE(fade.fading());
    }
    EXPECT_FALSE(fade.fading());
    return played;
}

Levels range(int from, int to, int step) {
    Levels levels;
    for (int level = from; step > 0 ? level <= to : level >= to; level += step) {
        levels.push_back(static_cast<std::int16_t>(level));
    }
    return levels;
}

TEST(HoverFade, LoadFadesInFromNothing) {
    HoverFade fade;
    const Played load = play(fade, Direction::In);
    EXPECT_EQ(load.opening, 5);
    EXPECT_EQ(load.loop, range(0, 255, 5));
    EXPECT_EQ(load.loop.size(), 52u);
    EXPECT_EQ(fade.curTrans(), 260);
}

struct Moment {
    const char *name;
    Direction direction;
    std::optional<std::int16_t> opening;
    Levels loop;
    std::int16_t after;
};

TEST(HoverFade, EachMomentPassesItsLevels) {
    // After load: opaque, curTrans 260.
    const Moment moments[] = {
        {"inside, already opaque", Direction::In, 260, {}, 260},
        {"pointer leaves", Direction::Out, std::nullopt, range(260, 50, -5), 45},
        {"outside, already faint", Direction::Out, std::nullopt, {}, 45},
        {"pointer comes back", Direction::In, 45, range(45, 255, 5), 260},
        {"pointer leaves again", Direction::Out, std::nullopt, range(260, 50, -5), 45},
    };
    HoverFade fade;
    (void)play(fade, Direction::In);
    for (const Moment &moment : moments) {
        SCOPED_TRACE(moment.name);
        const Played played = play(fade, moment.direction);
        EXPECT_EQ(played.opening, moment.opening);
        EXPECT_EQ(played.loop, moment.loop);
        EXPECT_EQ(fade.curTrans(), moment.after);
    }
}

TEST(HoverFade, LoopPassesMatchTheirPauses) {
    HoverFade fade;
    EXPECT_EQ(play(fade, Direction::In).loop.size(), 52u);
    EXPECT_EQ(play(fade, Direction::Out).loop.size(), 43u);
    EXPECT_EQ(play(fade, Direction::In).loop.size(), 43u);
}

TEST(HoverFade, RequestsDuringAFadeHaveNoEffect) {
    HoverFade fade;
    ASSERT_TRUE(fade.begin(Direction::In).has_value());
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(fade.next().has_value());
    }
    EXPECT_FALSE(fade.begin(Direction::Out).has_value());
    EXPECT_FALSE(fade.begin(Direction::In).has_value());
    EXPECT_EQ(fade.next(), 55);  // the fade-in goes on where it stood
    int rest = 0;
    while (fade.next()) {
        ++rest;
    }
    EXPECT_EQ(rest, 40);
    EXPECT_EQ(fade.curTrans(), 260);
    EXPECT_EQ(fade.next(), std::nullopt);  // nothing more once ended
}

TEST(HoverFade, FadeOutBeforeAnyFadeInPassesNoLevel) {
    HoverFade fade;
    const Played played = play(fade, Direction::Out);
    EXPECT_EQ(played.opening, std::nullopt);
    EXPECT_TRUE(played.loop.empty());
    EXPECT_EQ(fade.curTrans(), 0);
}

TEST(WindowOpacity, OnlyLevelsOneTo255AreApplied) {
    const struct {
        std::int16_t level;
        bool applied;
    } cases[] = {{-5, false}, {0, false},   {1, true},    {50, true},
                 {255, true}, {256, false}, {260, false}, {32767, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(isOpacityLevel(c.level), c.applied);
    }
    EXPECT_EQ(opacityOfLevel(255), 1.0);
    EXPECT_DOUBLE_EQ(opacityOfLevel(50), 50.0 / 255.0);
}

}  // namespace
}  // namespace tallaro
