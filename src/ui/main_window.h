// main_window.h
// FrmTallaro, the program's one window: builds its controls from the control
// table and routes their events to the meter.
#pragma once

#include <QWidget>

#include <cstdint>

#include "meter/meter_model.h"
#include "numtext/number_locale.h"
#include "presence/hover_fade.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class FrmTallaro : public QWidget {
    Q_OBJECT

public:
    // The locale's separators are read once, by the caller, and kept for the
    // window's life.
    explicit FrmTallaro(tallaro::NumberLocale locale, QWidget *parent = nullptr);

    // Places the window at its design position when that fits on the screen,
    // otherwise in the middle of the screen.
    void placeOnScreen();

    const tallaro::MeterModel &meter() const { return m_meter; }

    // Event handlers, public so that tests drive them as the events would.
    void BtnStart_Click();
    void BtnStop_Click();
    void Timer1_Timer();
    void BtnNumPersP_Click();
    void BtnNumPersM_Click();
    void BtnMoneyPersP_Click();
    void BtnMoneyPersM_Click();
    // Once, when the program starts: poll on, topmost, shown, faded in.
    void Form_Load();
    void Timer2_Timer();
    void Form_MouseMove();
    void FadeIn();
    void FadeOut();
    // One pause of a running fade has passed.
    void FadeTimer_Timer();

    const tallaro::HoverFade &fade() const { return m_fade; }

protected:
    // Applies an opacity level: 1..255 as the window's alpha, others change nothing.
    virtual void SetTrans(std::int16_t Trans);
    // The pointer's position on the screen.
    virtual QPoint pointerPosition() const;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct FieldTexts;
    FieldTexts fieldTexts() const;
    void showMarks();
    void stepField(QLineEdit *field, std::int16_t addValue);
    void buildControls();
    void beginFade(tallaro::HoverFade::Direction direction);
    void endFade();

    QLineEdit *TextNumPers = nullptr;
    QLineEdit *TextMoneyPers = nullptr;
    QLineEdit *TextBaseCost = nullptr;
    QLabel *LblPrice = nullptr;
    QLabel *LblTime = nullptr;
    QPushButton *BtnStart = nullptr;
    QPushButton *BtnStop = nullptr;
    QPushButton *BtnNumPersP = nullptr;
    QPushButton *BtnNumPersM = nullptr;
    QPushButton *BtnMoneyPersP = nullptr;
    QPushButton *BtnMoneyPersM = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *m_fadeTimer = nullptr;

    const tallaro::NumberLocale m_locale;
    tallaro::MeterModel m_meter;
    tallaro::FieldMarks m_shownMarks;
    tallaro::HoverFade m_fade;
};
