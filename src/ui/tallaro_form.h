// tallaro_form.h
// The window's event handlers without a window: each reads the controls it
// needs through a WindowPort, asks the core, and writes the results back.
#pragma once

#include <cstdint>
#include <string_view>

#include "meter/meter_model.h"
#include "numtext/number_locale.h"
#include "presence/hover_fade.h"
#include "presence/poll_marks.h"
#include "ui/window_port.h"

namespace tallaro::ui {

inline constexpr int kMeterIntervalMs = 1000;
inline constexpr int kPollIntervalMs = 50;

class TallaroForm {
public:
    TallaroForm(WindowPort &window, NumberLocale locale);

    // Once, when the program starts: poll on, topmost, shown, faded in; where
    // the window system offers none of that, only shown.
    void Form_Load();

    void BtnStart_Click();
    void BtnStop_Click();
    void Timer1_Timer();

    void BtnNumPersP_Click() { stepField(Field::NumPers, +1); }
    void BtnNumPersM_Click() { stepField(Field::NumPers, -1); }
    void BtnMoneyPersP_Click() { stepField(Field::MoneyPers, +1); }
    void BtnMoneyPersM_Click() { stepField(Field::MoneyPers, -1); }

    void Timer2_Timer();
    // The pointer crossed the window's edge, as the window system tells.
    void Form_PointerCrossed();
    // The pointer moved over the window's own background.
    void Form_MouseMove() { FadeIn(); }
    void FadeIn() { beginFade(HoverFade::Direction::In); }
    void FadeOut() { beginFade(HoverFade::Direction::Out); }
    // The pause after a level of a running fade has passed.
    void FadePause_Timer();

    const MeterModel &meter() const { return m_meter; }
    const HoverFade &fade() const { return m_fade; }

private:
    void stepField(Field field, std::int16_t addValue);
    void showMarks();
    void beginFade(HoverFade::Direction direction);
    void endFade();
    void switchPollOn();
    void switchPollOff();
    void armPoll(std::int64_t now);

    WindowPort &m_window;
    const NumberLocale m_locale;
    MeterModel m_meter;
    FieldMarks m_shownMarks;
    HoverFade m_fade;
    PollMarks m_pollMarks{kPollIntervalMs};
    bool m_pollOn = false;  // Timer2, where the poll wakes only at its marks
};

// A handler of the form, such as the one a button's click runs.
using FormHandler = void (TallaroForm::*)();

// Returns the handler that a click on the named button runs, or nullptr for a
// control whose clicks reach no handler.
[[nodiscard]] FormHandler clickHandlerOf(std::string_view controlName);

}  // namespace tallaro::ui
