// frm_tallaro_win32.h
// FrmTallaro in plain Win32: the window over its controls, its messages
// routed to the window's logic, and what the logic asks carried out with the
// window system's own calls.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "numtext/number_locale.h"
#include "ui/tallaro_form.h"
#include "ui/win32/base_window.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_crossings.h"
#include "ui/win32/win32_spoken.h"
#include "ui/win32/win32_timers.h"
#include "ui/window_port.h"

class FrmTallaroWin32 : public BaseWindow<FrmTallaroWin32>, public tallaro::ui::WindowPort {
public:
    // What a screen reader says of the controls goes through spoken
    // (Windows' own annotations unless a test hands in its own), and the
    // user's high-contrast setting is read through highContrast.
    explicit FrmTallaroWin32(tallaro::NumberLocale locale,
                             std::unique_ptr<SpokenTexts> spoken = nullptr,
                             HighContrastReader highContrast = highContrastOn);
    ~FrmTallaroWin32() override;
    FrmTallaroWin32(const FrmTallaroWin32 &) = delete;
    FrmTallaroWin32 &operator=(const FrmTallaroWin32 &) = delete;

    // Creates the window, hidden, laid out at the DPI of the monitor it opens
    // on, with its client area at the design position when the window fits
    // in that monitor's work area there, otherwise in the middle of it.
    bool create(HINSTANCE instance);
    // Loads the window and serves its messages until it is closed.
    int run();

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void placeOnScreen();
    LRESULT onCommand(WPARAM wParam);
    LRESULT onTimer(WPARAM wParam);
    LRESULT onLabelColour(HDC dc, HWND label);
    LRESULT onFieldColour(HDC dc, HWND field);
    LRESULT onDpiChanged(UINT dpi, const RECT &suggested);
    // Takes the user's high-contrast setting afresh, and repaints in its colours.
    void followContrast();
    // Tells the form when the pointer's crossings changed what they say.
    void crossed(bool changed);

    std::string fieldText(tallaro::ui::Field which) const override;
    void setFieldText(tallaro::ui::Field which, std::string_view text) override;
    void setFieldMarked(tallaro::ui::Field which, bool marked) override;
    void setBaseCostEnabled(bool enabled) override;
    void showDisplay(const tallaro::MeterDisplay &display) override;
    void switchTimerOn(tallaro::ui::Timer which, int intervalMs) override;
    void switchTimerOff(tallaro::ui::Timer which) override;
    bool hasPresence() const override { return true; }
    void SetTrans(std::int16_t Trans) override;
    void placeTopmost() override;
    void showWindow() override;
    void repaintWindow() override;
    bool pointerInside() const override;
    bool tellsCrossings() const override { return true; }
    std::optional<bool> crossedInside() const override { return m_crossings.inside(); }
    std::int64_t steadyMs() const override { return Win32Timers::steadyMs(); }
    void wakePollIn(int delayMs) override;

    Win32Controls m_controls;
    std::array<bool, 3> m_marked{};  // by Field
    HBRUSH m_markBrush = nullptr;
    UINT m_dpi = 96;
    HighContrastReader m_readContrast;
    bool m_highContrast = false;
    std::unique_ptr<SpokenTexts> m_spoken;
    // A query of the pointer keeps what it learnt, also for the poll.
    mutable Win32Crossings m_crossings;
    Win32Timers m_timers;
    tallaro::ui::TallaroForm m_form;
};
