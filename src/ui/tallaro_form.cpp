#include "ui/tallaro_form.h"

#include <optional>
#include <string>
#include <utility>

#include "stepper/value_stepper.h"

namespace tallaro::ui {

TallaroForm::TallaroForm(WindowPort &window, NumberLocale locale)
    : m_window(window), m_locale(std::move(locale)), m_meter(m_locale) {}

void TallaroForm::Form_Load() {
    if (!m_window.hasPresence()) {
        m_window.showWindow();
        return;
    }
    switchPollOn();
    m_window.placeTopmost();
    m_window.showWindow();
    FadeIn();
}

void TallaroForm::BtnStart_Click() {
    const std::string persons = m_window.fieldText(Field::NumPers);
    const std::string salary = m_window.fieldText(Field::MoneyPers);
    const std::string baseCost = m_window.fieldText(Field::BaseCost);
    const MeterModel::StartOutcome outcome = m_meter.start({persons, salary, baseCost});
    showMarks();
    if (outcome == MeterModel::StartOutcome::Refused) {
        return;
    }
    m_window.setBaseCostEnabled(m_meter.baseCostEditable());
    // A running timer keeps its interval: a second click never delays a tick.
    if (outcome == MeterModel::StartOutcome::Started) {
        m_window.switchTimerOn(Timer::Meter, kMeterIntervalMs);
    }
}

void TallaroForm::BtnStop_Click() {
    m_meter.stop();
    m_window.switchTimerOff(Timer::Meter);
}

void TallaroForm::Timer1_Timer() {
    // A tick already queued when the timer was switched off (Win32 keeps
    // those) comes after "Stop": the stopped meter takes no second more.
    if (m_meter.state() != MeterModel::State::Running) {
        return;
    }
    const std::string persons = m_window.fieldText(Field::NumPers);
    const std::string salary = m_window.fieldText(Field::MoneyPers);
    // The base-cost field is read only until the meter has taken it.
    const std::string baseCost =
        m_meter.baseTaken() ? std::string() : m_window.fieldText(Field::BaseCost);
    m_window.showDisplay(m_meter.tick({persons, salary, baseCost}));
    showMarks();
}

// The new value counts from the meter's next tick on; a mark goes there too.
void TallaroForm::stepField(Field field, std::int16_t addValue) {
    m_window.setFieldText(field, steppedFieldText(m_window.fieldText(field), addValue, m_locale));
}

void TallaroForm::showMarks() {
    const FieldMarks &marks = m_meter.marks();
    if (marks == m_shownMarks) {
        return;
    }
    m_shownMarks = marks;
    m_window.setFieldMarked(Field::NumPers, marks.persons);
    m_window.setFieldMarked(Field::MoneyPers, marks.salary);
    m_window.setFieldMarked(Field::BaseCost, marks.baseCost);
}

void TallaroForm::Timer2_Timer() {
    // A poll that begins no fade switches Timer2 on afresh at its end, as
    // one that does after the fade.
    if (m_window.pointerInside()) {
        FadeIn();
    } else {
        FadeOut();
    }
}

void TallaroForm::beginFade(HoverFade::Direction direction) {
    if (!m_window.hasPresence()) {
        return;
    }
    const std::optional<HoverFade::Opening> opening = m_fade.begin(direction);
    if (!opening) {
        return;  // a fade runs to its end
    }
    switchPollOff();
    if (opening->openingLevel) {
        m_window.SetTrans(*opening->openingLevel);
    }
    m_window.showWindow();
    if (!opening->firstLevel) {
        endFade();
        return;
    }
    m_window.SetTrans(*opening->firstLevel);
    m_window.switchTimerOn(Timer::FadePause, HoverFade::kPauseMs);
}

void TallaroForm::FadePause_Timer() {
    if (!m_fade.fading()) {
        return;
    }
    m_window.repaintWindow();
    if (const std::optional<std::int16_t> level = m_fade.next()) {
        m_window.SetTrans(*level);
        // Each pause counts afresh from its level: one that came late never
        // shortens the next.
        m_window.switchTimerOn(Timer::FadePause, HoverFade::kPauseMs);
        return;
    }
    m_window.switchTimerOff(Timer::FadePause);
    endFade();
}

void TallaroForm::endFade() {
    switchPollOn();
    m_window.showWindow();
}

// Timer2 on, with a fresh count. Where the window system tells crossings,
// the poll wakes only at a mark where it can change something: the first
// mark when the pointer left or came back during the fade just ended, else
// the first mark after a crossing that makes it differ.
void TallaroForm::switchPollOn() {
    if (!m_window.tellsCrossings()) {
        m_window.switchTimerOn(Timer::Poll, kPollIntervalMs);
        return;
    }
    const std::int64_t now = m_window.steadyMs();
    m_pollMarks.restart(now);
    m_pollOn = true;
    armPoll(now);
}

void TallaroForm::switchPollOff() {
    m_pollOn = false;
    m_window.switchTimerOff(Timer::Poll);
}

void TallaroForm::armPoll(std::int64_t now) {
    if (PollMarks::pollCanChange(m_window.crossedInside(), m_fade.leftOpaque())) {
        m_window.wakePollIn(static_cast<int>(m_pollMarks.nextAt(now) - now));
    } else {
        m_window.switchTimerOff(Timer::Poll);
    }
}

void TallaroForm::Form_PointerCrossed() {
    if (m_pollOn) {
        armPoll(m_window.steadyMs());
    }
}

FormHandler clickHandlerOf(std::string_view controlName) {
    static constexpr struct {
        std::string_view name;
        FormHandler handler;
    } kButtons[] = {
        {"BtnStart", &TallaroForm::BtnStart_Click},
        {"BtnStop", &TallaroForm::BtnStop_Click},
        {"BtnNumPersP", &TallaroForm::BtnNumPersP_Click},
        {"BtnNumPersM", &TallaroForm::BtnNumPersM_Click},
        {"BtnMoneyPersP", &TallaroForm::BtnMoneyPersP_Click},
        {"BtnMoneyPersM", &TallaroForm::BtnMoneyPersM_Click},
    };
    for (const auto &button : kButtons) {
        if (button.name == controlName) {
            return button.handler;
        }
    }
    return nullptr;
}

}  // namespace tallaro::ui
