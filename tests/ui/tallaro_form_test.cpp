// The window's logic against a recording window: what each handler reads,
// writes and switches, and in which order.
#include "ui/tallaro_form.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "meter/meter_model.h"
#include "test_locales.h"

namespace tallaro::ui {
namespace {

class FakeWindow : public WindowPort {
public:
    std::array<std::string, 3> fields{"1", "50", "100"};
    std::vector<std::string> calls;  // what the logic asked, in order
    int baseCostReads = 0;
    bool inside = false;
    bool presence = true;

    std::string fieldText(Field field) const override {
        if (field == Field::BaseCost) {
            ++const_cast<FakeWindow *>(this)->baseCostReads;
        }
        return fields[static_cast<std::size_t>(field)];
    }
    void setFieldText(Field field, std::string_view text) override {
        fields[static_cast<std::size_t>(field)] = text;
    }
    void setFieldMarked(Field field, bool marked) override {
        calls.push_back("mark " + std::to_string(static_cast<int>(field)) +
                        (marked ? " on" : " off"));
    }
    void setBaseCostEnabled(bool enabled) override {
        calls.push_back(enabled ? "base enabled" : "base disabled");
    }
    void showDisplay(const MeterDisplay &display) override {
        calls.push_back("show " + display.caption + " | " + display.time);
    }
    void switchTimerOn(Timer timer, int intervalMs) override {
        calls.push_back("on " + name(timer) + " " + std::to_string(intervalMs));
    }
    void switchTimerOff(Timer timer) override { calls.push_back("off " + name(timer)); }
    void SetTrans(std::int16_t Trans) override {
        calls.push_back("trans " + std::to_string(Trans));
    }
    bool hasPresence() const override { return presence; }
    void placeTopmost() override { calls.push_back("topmost"); }
    void showWindow() override { calls.push_back("show window"); }
    void repaintWindow() override { calls.push_back("repaint"); }
    bool pointerInside() const override { return inside; }

private:
    static std::string name(Timer timer) {
        switch (timer) {
            case Timer::Meter:
                return "Timer1";
            case Timer::Poll:
                return "Timer2";
            case Timer::FadePause:
                break;
        }
        return "FadePause";
    }
};

using Calls = std::vector<std::string>;

struct Fixture {
    FakeWindow window;
    TallaroForm form{window, test_locales::kGerman};

    // Plays a running fade to its end and forgets what it asked.
    void finishFade() {
        while (form.fade().fading()) {
            form.FadePause_Timer();
        }
        window.calls.clear();
    }
};

TEST(TallaroForm, LoadPollsPlacesShowsThenFadesIn) {
    Fixture f;
    f.form.Form_Load();
    const Calls expected = {"on Timer2 50", "topmost",     "show window", "off Timer2",
                            "trans 5",      "show window", "trans 0",     "on FadePause 10"};
    EXPECT_EQ(f.window.calls, expected);
    f.window.calls.clear();
    f.form.FadePause_Timer();
    EXPECT_EQ(f.window.calls, (Calls{"repaint", "trans 5", "on FadePause 10"}));
}

TEST(TallaroForm, FadeEndsWithThePollOnAndTheWindowShown) {
    Fixture f;
    f.form.Form_Load();
    for (int pause = 0; pause < 51; ++pause) {
        f.form.FadePause_Timer();
    }
    f.window.calls.clear();
    f.form.FadePause_Timer();  // the pause after level 255
    EXPECT_EQ(f.window.calls, (Calls{"repaint", "off FadePause", "on Timer2 50", "show window"}));
    EXPECT_FALSE(f.form.fade().fading());
}

TEST(TallaroForm, PollsThatFindTheRightStateStillCycleThePollAndShowTwice) {
    Fixture f;
    f.form.Form_Load();
    f.finishFade();
    f.window.inside = true;
    f.form.Timer2_Timer();
    EXPECT_EQ(f.window.calls,
              (Calls{"off Timer2", "trans 260", "show window", "on Timer2 50", "show window"}));
    f.window.inside = false;
    f.form.Timer2_Timer();
    f.finishFade();
    f.form.Timer2_Timer();
    EXPECT_EQ(f.window.calls, (Calls{"off Timer2", "show window", "on Timer2 50", "show window"}));
}

TEST(TallaroForm, StrayPauseAfterAFadeDoesNothing) {
    Fixture f;
    f.form.Form_Load();
    f.finishFade();
    f.form.FadePause_Timer();
    EXPECT_TRUE(f.window.calls.empty());
}

// A window system without presence (Wayland without XWayland): the window is
// shown, and nothing polls, fades or asks for opacity; the meter still runs.
TEST(TallaroForm, WithoutPresenceTheWindowIsOnlyShown) {
    Fixture f;
    f.window.presence = false;
    f.form.Form_Load();
    f.form.Form_MouseMove();
    f.form.FadeOut();
    f.form.BtnStart_Click();
    f.form.Timer1_Timer();
    EXPECT_EQ(f.window.calls, (Calls{"show window", "base disabled", "on Timer1 1000",
                                     "show 100,01 - Tallaro | 00:00:01"}));
    EXPECT_FALSE(f.form.fade().fading());
}

TEST(TallaroForm, TicksThatComeWhileTheMeterStandsChangeNothing) {
    Fixture f;
    f.form.Timer1_Timer();  // before any "Start"
    f.form.BtnStart_Click();
    f.form.Timer1_Timer();
    f.form.BtnStop_Click();
    f.window.calls.clear();
    f.form.Timer1_Timer();  // queued before "Stop" took the timer away
    EXPECT_TRUE(f.window.calls.empty());
    EXPECT_EQ(f.form.meter().elapsedTime() * 86400.0, 1.0);
    f.form.BtnStart_Click();
    f.form.Timer1_Timer();
    EXPECT_EQ(f.window.calls.back(), "show 100,03 - Tallaro | 00:00:02");
}

TEST(TallaroForm, StartDisablesTheBaseAndStartsTheMeterOnce) {
    Fixture f;
    f.form.BtnStart_Click();
    EXPECT_EQ(f.window.calls, (Calls{"base disabled", "on Timer1 1000"}));
    f.window.calls.clear();
    f.form.BtnStart_Click();  // running: the interval under way is left alone
    EXPECT_EQ(f.window.calls, (Calls{"base disabled"}));
    f.form.BtnStop_Click();
    EXPECT_EQ(f.window.calls.back(), "off Timer1");
}

TEST(TallaroForm, RefusedStartMarksAndChangesNothingElse) {
    Fixture f;
    f.window.fields[0] = "viele";
    f.form.BtnStart_Click();
    EXPECT_EQ(f.window.calls, (Calls{"mark 0 on", "mark 1 off", "mark 2 off"}));
    f.window.calls.clear();
    f.window.fields[0] = "3";
    f.form.BtnStart_Click();
    EXPECT_EQ(f.window.calls,
              (Calls{"mark 0 off", "mark 1 off", "mark 2 off", "base disabled", "on Timer1 1000"}));
}

TEST(TallaroForm, TickShowsTheMeterAndReadsTheBaseOnlyUntilTaken) {
    Fixture f;
    f.form.BtnStart_Click();
    f.window.calls.clear();
    const int readsAtStart = f.window.baseCostReads;
    f.form.Timer1_Timer();
    f.form.Timer1_Timer();
    EXPECT_EQ(f.window.calls,
              (Calls{"show 100,01 - Tallaro | 00:00:01", "show 100,03 - Tallaro | 00:00:02"}));
    EXPECT_EQ(f.window.baseCostReads, readsAtStart + 1);
}

TEST(TallaroForm, StepButtonsWriteTheSteppedText) {
    Fixture f;
    f.form.BtnNumPersP_Click();
    f.form.BtnMoneyPersM_Click();
    f.window.fields[1] = "999";
    f.form.BtnMoneyPersP_Click();
    EXPECT_EQ(f.window.fields[0], "2");
    EXPECT_EQ(f.window.fields[1], "1");
    f.form.BtnNumPersM_Click();
    f.form.BtnNumPersM_Click();
    EXPECT_EQ(f.window.fields[0], "1");
    EXPECT_TRUE(f.window.calls.empty());  // nothing else: the meter reads it at its tick
}

}  // namespace
}  // namespace tallaro::ui
