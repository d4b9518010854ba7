// The poll that sleeps until it can change something: the form driven on a
// clock of the test's own, with the pointer crossing the window's edge at
// chosen moments. Fades must begin at the marks of the 50 ms count, exactly
// when a poll that beats every 50 ms begins them, and the poll must not wake
// while nothing can change.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "presence/poll_marks.h"
#include "test_locales.h"
#include "ui/tallaro_form.h"

namespace tallaro::ui {
namespace {

TEST(PollMarks, NextMarkCountsFromTheLastRestart) {
    struct Row {
        std::int64_t start, now, mark;
    } const rows[] = {
        {1000, 1000, 1050}, {1000, 1001, 1050}, {1000, 1049, 1050}, {1000, 1050, 1050},
        {1000, 1051, 1100}, {1000, 1999, 2000}, {1000, 900, 1050},  {-30, -29, 20},
    };
    for (const Row &row : rows) {
        PollMarks marks(50);
        marks.restart(row.start);
        EXPECT_EQ(marks.nextAt(row.now), row.mark) << row.start << " " << row.now;
    }
}

// A window on a clock of the test's own, whose timers the test runs.
class ClockedWindow : public WindowPort {
public:
    explicit ClockedWindow(bool crossings) : m_crossings(crossings) {}

    std::int64_t now = 0;
    bool inside = true;
    std::optional<std::int64_t> pollDue, pauseDue;
    int pollInterval = 0;  // a beating poll's; 0 for one that wakes once
    int pollWakeUps = 0;
    std::vector<std::int64_t> fadeStarts;  // when a fade's first level came

    std::string fieldText(Field /*field*/) const override { return "1"; }
    void setFieldText(Field /*field*/, std::string_view /*text*/) override {}
    void setFieldMarked(Field /*field*/, bool /*marked*/) override {}
    void setBaseCostEnabled(bool /*enabled*/) override {}
    void showDisplay(const MeterDisplay & /*display*/) override {}
    void switchTimerOn(Timer timer, int intervalMs) override {
        if (timer == Timer::Poll) {
            pollDue = now + intervalMs;
            pollInterval = intervalMs;
        } else if (timer == Timer::FadePause) {
            pauseDue = now + intervalMs;
        }
    }
    void switchTimerOff(Timer timer) override {
        (timer == Timer::Poll ? pollDue : pauseDue).reset();
    }
    bool hasPresence() const override { return true; }
    void SetTrans(std::int16_t /*Trans*/) override {}
    void placeTopmost() override {}
    void showWindow() override {}
    void repaintWindow() override {}
    bool pointerInside() const override { return inside; }
    bool tellsCrossings() const override { return m_crossings; }
    std::optional<bool> crossedInside() const override { return inside; }
    std::int64_t steadyMs() const override { return now; }
    void wakePollIn(int delayMs) override {
        pollDue = now + delayMs;
        pollInterval = 0;
    }

private:
    bool m_crossings;
};

// What happens to the window, in milliseconds after the poll was switched
// on at the end of the load's fade-in (the pointer over the window).
struct Event {
    int at;
    enum { Out, In, Move } what;
};

// Loads the form, the pointer over the window, lets the load's fade-in end
// and plays the events; returns the moments at which fades began after it,
// counted as the events are.
std::vector<std::int64_t> fadeStarts(bool crossings, const std::vector<Event> &events,
                                     int *wakeUps = nullptr) {
    ClockedWindow window(crossings);
    TallaroForm form(window, test_locales::kGerman);
    form.Form_Load();
    while (form.fade().fading()) {
        window.now = *window.pauseDue;
        form.FadePause_Timer();
    }
    const std::int64_t origin = window.now;
    const std::int64_t horizon = origin + 3000;
    std::size_t next = 0;
    for (;;) {
        const std::optional<std::int64_t> eventDue =
            next < events.size() ? std::optional<std::int64_t>(origin + events[next].at)
                                 : std::nullopt;
        std::int64_t due = horizon;
        for (const std::optional<std::int64_t> &t : {eventDue, window.pollDue, window.pauseDue}) {
            if (t && *t < due) {
                due = *t;
            }
        }
        if (due >= horizon) {
            break;
        }
        window.now = due;
        const bool wasFading = form.fade().fading();
        if (eventDue == due) {  // the window system's events come first
            const Event &event = events[next++];
            if (event.what == Event::Move) {
                form.Form_MouseMove();
            } else {
                window.inside = event.what == Event::In;
                if (crossings) {
                    form.Form_PointerCrossed();
                }
            }
        } else if (window.pauseDue == due) {
            window.pauseDue.reset();
            form.FadePause_Timer();
        } else {
            window.pollDue = window.pollInterval > 0
                                 ? std::optional<std::int64_t>(due + window.pollInterval)
                                 : std::nullopt;
            ++window.pollWakeUps;
            form.Timer2_Timer();
        }
        if (!wasFading && form.fade().fading()) {
            window.fadeStarts.push_back(due - origin);
        }
    }
    if (wakeUps != nullptr) {
        *wakeUps = window.pollWakeUps;
    }
    return window.fadeStarts;
}

struct Row {
    const char *name;
    std::vector<Event> events;
    std::vector<std::int64_t> starts;  // worked out by hand from the 50 ms count
};

std::ostream &operator<<(std::ostream &out, const Row &row) {
    return out << row.name;
}

// A fade that begins at a mark ends 430 ms on: 43 levels 10 ms apart (from
// 260 down to 50, or from 45 up to 255) and the pause after the last; the
// count starts afresh there.
const Row kRows[] = {
    {"away just after a mark: the next mark", {{1, Event::Out}}, {50}},
    {"away midway", {{30, Event::Out}}, {50}},
    {"away just before a mark", {{49, Event::Out}}, {50}},
    {"away at a mark: that mark", {{50, Event::Out}}, {50}},
    {"away just after the first mark: the second", {{51, Event::Out}}, {100}},
    {"away later", {{1234, Event::Out}}, {1250}},
    {"away and back before the mark: nothing", {{10, Event::Out}, {40, Event::In}}, {}},
    {"away, back, away again", {{10, Event::Out}, {40, Event::In}, {70, Event::Out}}, {100}},
    {"back during the fade-out: the first mark after it",
     {{10, Event::Out}, {200, Event::In}},
     {50, 530}},
    {"away and back during the fade-out: nothing after it",
     {{10, Event::Out}, {200, Event::In}, {300, Event::Out}},
     {50}},
    {"back in later: fade-in at the mark counted from the fade's end",
     {{10, Event::Out}, {490, Event::In}},
     {50, 530}},
    {"back in after the first mark after the fade",
     {{10, Event::Out}, {531, Event::In}},
     {50, 580}},
    {"a move over the window starts a fresh count", {{30, Event::Move}, {60, Event::Out}}, {80}},
    {"out, in, and out after a fade-in",
     {{10, Event::Out}, {500, Event::In}, {1000, Event::Out}},
     {50, 530, 1010}},
};

class QuietPoll : public ::testing::TestWithParam<Row> {};

TEST_P(QuietPoll, FadesBeginAtTheMarksOfTheCount) {
    const Row &row = GetParam();
    EXPECT_EQ(fadeStarts(true, row.events), row.starts);
}

// The same moments as a poll that beats every 50 ms and reads the position.
TEST_P(QuietPoll, FadesBeginWhenABeatingPollBeginsThem) {
    const Row &row = GetParam();
    EXPECT_EQ(fadeStarts(true, row.events), fadeStarts(false, row.events));
}

INSTANTIATE_TEST_SUITE_P(Crossings, QuietPoll, ::testing::ValuesIn(kRows));

TEST(QuietPoll, WakesOnlyWhereItCanChangeSomething) {
    int beating = 0;
    int quiet = 0;
    const std::vector<Event> away = {{10, Event::Out}};
    fadeStarts(false, away, &beating);
    fadeStarts(true, away, &quiet);
    EXPECT_GE(beating, 50);  // 3 s of beats, less the fade
    // The mark after the crossing; after the fade-out, the pointer away, none.
    EXPECT_EQ(quiet, 1);
    fadeStarts(true, {}, &quiet);
    EXPECT_EQ(quiet, 0);
    // A crossing during a fade wakes nothing then: the first mark after the
    // fade decides, and the fade-in it begins ends with the pointer inside.
    fadeStarts(true, {{10, Event::Out}, {200, Event::In}}, &quiet);
    EXPECT_EQ(quiet, 2);
}

}  // namespace
}  // namespace tallaro::ui
