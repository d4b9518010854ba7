// main_window.h
// FrmTallaro, the program's one window in Qt: builds its controls from the
// window design, routes their events to the window's logic and carries out
// what the logic asks of it.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "numtext/number_locale.h"
#include "ui/qt/presence.h"
#include "ui/qt/qt_controls.h"
#include "ui/tallaro_form.h"
#include "ui/window_design.h"
#include "ui/window_port.h"

class QLabel;
class QTimer;

class FrmTallaro : public QWidget, private tallaro::ui::WindowPort {
    Q_OBJECT

public:
    // The locale's separators are read once, by the caller, and kept for the
    // window's life. Without presence (a window system that cannot keep it on
    // top or fade it) the window is only shown.
    explicit FrmTallaro(tallaro::NumberLocale locale, bool presence = true,
                        QWidget *parent = nullptr);
    // With presence through the given back end (X11 when the other
    // constructor is used).
    FrmTallaro(tallaro::NumberLocale locale, std::unique_ptr<Presence> backend,
               QWidget *parent = nullptr);
    ~FrmTallaro() override;

    // Places the client area at its design position when that fits in the
    // screen's work area, otherwise in the middle of it.
    void placeOnScreen();
    // Where that rule puts the client area on the screen.
    [[nodiscard]] QRect placement() const;

    // Whether the screen shows the window's fades; nothing where the window
    // system cannot tell.
    [[nodiscard]] std::optional<bool> fadesShown() const {
        return m_presence ? m_backend->drawsOpacity() : std::nullopt;
    }

    // The event handlers; tests call them as the events would.
    tallaro::ui::TallaroForm &form() { return m_form; }
    const tallaro::ui::TallaroForm &form() const { return m_form; }

protected:
    void SetTrans(std::int16_t Trans) override;
    // The pointer's position on the screen.
    virtual QPoint pointerPosition() const;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTimer *timer(tallaro::ui::Timer which) const;

    std::string fieldText(tallaro::ui::Field which) const override;
    void setFieldText(tallaro::ui::Field which, std::string_view text) override;
    void setFieldMarked(tallaro::ui::Field which, bool marked) override;
    void setBaseCostEnabled(bool enabled) override;
    void showDisplay(const tallaro::MeterDisplay &display) override;
    void switchTimerOn(tallaro::ui::Timer which, int intervalMs) override;
    void switchTimerOff(tallaro::ui::Timer which) override;
    bool hasPresence() const override { return m_presence; }
    void placeTopmost() override;
    void showWindow() override;
    void repaintWindow() override;
    bool pointerInside() const override;
    bool tellsCrossings() const override { return m_presence && m_backend->tellsCrossings(); }
    std::optional<bool> crossedInside() const override;
    std::int64_t steadyMs() const override;
    void wakePollIn(int delayMs) override;

    QtControls m_controls;
    std::array<QTimer *, 3> m_timers{};  // by Timer
    QLabel *LblPrice = nullptr;
    QLabel *LblTime = nullptr;
    bool m_presence;
    std::unique_ptr<Presence> m_backend;
    tallaro::ui::TallaroForm m_form;
};
