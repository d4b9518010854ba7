#include "presence/pointer_crossings.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

namespace tallaro {
namespace {

using Kind = PointerCrossings::Kind;
using Mode = PointerCrossings::Mode;

// One thing that happens to the frame, and what the poll must then be told.
struct Step {
    enum { Cross, Replace, Query } what;
    PointerCrossings::Crossing crossing{Kind::Enter, Mode::Normal, false};
    bool queriedInside = false;
    std::optional<bool> expected;
};

constexpr std::optional<bool> kAsk;  // only a query of the server can tell

Step enter(Mode mode, bool inferior, std::optional<bool> expected) {
    return {Step::Cross, {Kind::Enter, mode, inferior}, false, expected};
}
Step leave(Mode mode, bool inferior, std::optional<bool> expected) {
    return {Step::Cross, {Kind::Leave, mode, inferior}, false, expected};
}
Step replaced() {
    return {Step::Replace, {}, false, kAsk};
}
Step query(bool inside) {
    return {Step::Query, {}, inside, inside};
}

struct Sequence {
    const char *name;
    std::vector<Step> steps;
};

// A failing sequence says its name.
void PrintTo(const Sequence &sequence, std::ostream *out) {
    *out << sequence.name;
}

class PointerCrossingsTest : public testing::TestWithParam<Sequence> {};

TEST_P(PointerCrossingsTest, AnswersThePollAfterEachEvent) {
    PointerCrossings crossings;
    EXPECT_EQ(crossings.inside(), kAsk) << "before any event";
    int index = 0;
    for (const Step &step : GetParam().steps) {
        switch (step.what) {
            case Step::Cross:
                crossings.crossed(step.crossing);
                break;
            case Step::Replace:
                crossings.frameReplaced();
                break;
            case Step::Query:
                crossings.queried(step.queriedInside);
                break;
        }
        EXPECT_EQ(crossings.inside(), step.expected) << "after step " << index;
        ++index;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PointerCrossingsTest,
    testing::Values(Sequence{"EnterFrameThenLeaveToTheRoot",
                             {enter(Mode::Normal, false, true), leave(Mode::Normal, false, false)}},
                    // Into the client and back out to the frame are inferior crossings.
                    Sequence{"FrameToClientAndBack",
                             {enter(Mode::Normal, false, true), leave(Mode::Normal, true, true),
                              enter(Mode::Normal, true, true), leave(Mode::Normal, false, false)}},
                    // XWayland: the pointer goes to a native Wayland window; the leave's
                    // position is still inside the frame, and the leave is what counts.
                    Sequence{"LeaveToAWaylandWindowAfterAQuery",
                             {query(true), leave(Mode::Normal, false, false),
                              enter(Mode::Normal, false, true)}},
                    // The state is unknown at first; an inferior crossing tells all the same.
                    Sequence{"InferiorCrossingFirst", {leave(Mode::Normal, true, true)}},
                    Sequence{"AGrabHidesWhereThePointerIs",
                             {enter(Mode::Normal, false, true), leave(Mode::Grab, false, kAsk),
                              query(true), enter(Mode::Ungrab, false, kAsk), query(false),
                              enter(Mode::Normal, false, true)}},
                    Sequence{"AGrabWhileOutside",
                             {leave(Mode::Normal, false, false), enter(Mode::Grab, false, kAsk),
                              leave(Mode::Ungrab, false, kAsk), query(false)}},
                    Sequence{"TheFrameReplaced",
                             {enter(Mode::Normal, false, true), replaced(), query(false),
                              replaced(), enter(Mode::Normal, false, true)}}),
    [](const testing::TestParamInfo<Sequence> &row) { return row.param.name; });

}  // namespace
}  // namespace tallaro
