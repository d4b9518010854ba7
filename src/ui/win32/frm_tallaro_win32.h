// frm_tallaro_win32.h
// FrmTallaro in plain Win32: the window and its controls built from the
// control table, their messages routed to the window's logic, and what the
// logic asks carried out with the window system's own calls.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "numtext/number_locale.h"
#include "ui/tallaro_form.h"
#include "ui/window_port.h"

class FrmTallaroWin32 : private tallaro::ui::WindowPort {
public:
    explicit FrmTallaroWin32(tallaro::NumberLocale locale);
    ~FrmTallaroWin32() override;
    FrmTallaroWin32(const FrmTallaroWin32 &) = delete;
    FrmTallaroWin32 &operator=(const FrmTallaroWin32 &) = delete;

    // Creates the window, hidden, with its client area at the design position
    // when that fits on the screen, otherwise in the middle of the work area.
    bool create(HINSTANCE instance);
    // Loads the window and serves its messages until it is closed.
    int run();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createToolTips();
    void layOut(UINT dpi);
    HWND control(std::size_t index) const { return m_controls[index]; }
    HWND field(tallaro::ui::Field which) const;

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

    HWND m_hwnd = nullptr;
    HWND m_toolTip = nullptr;
    std::array<HWND, 14> m_controls{};  // in the control table's order
    std::array<HFONT, 3> m_fonts{};     // by FontRole
    std::array<bool, 3> m_marked{};     // by Field
    HBRUSH m_markBrush = nullptr;
    UINT m_dpi = 96;
    tallaro::ui::TallaroForm m_form;
};
