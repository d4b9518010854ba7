// win32_controls.h
// The window's controls in plain Win32, built from the window design: one
// child window per entry, in tab order, each field's caption just before it
// in the z-order, with its fonts at the window's DPI, its colours, its
// tool-tip and what a screen reader says of it.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "ui/win32/win32_spoken.h"
#include "ui/window_design.h"

class Win32Controls {
public:
    Win32Controls() = default;
    ~Win32Controls();
    Win32Controls(const Win32Controls &) = delete;
    Win32Controls &operator=(const Win32Controls &) = delete;

    // Creates the controls of the design in the parent, in its order (the
    // tab order), but for each field's caption, which comes just before its
    // field: screen readers name a field after the label before it in the
    // z-order, and the dialog manager's tab order passes over labels. A
    // control's id is kFirstId plus its place in the design.
    void create(HWND parent);
    // Tells a screen reader what the step buttons and the displays are.
    void speak(SpokenTexts &spoken) const;
    // Gives each control with a tool-tip in the design its tool-tip.
    void addToolTips(HWND parent);
    // Places and sizes the controls and sets their fonts, at a DPI.
    void layOut(UINT dpi);
    // Sends each control a message that Windows sends the window alone
    // (WM_SYSCOLORCHANGE, which common controls need from their parent).
    void forward(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND at(std::size_t index) const { return m_controls[index]; }
    HWND field(tallaro::ui::Field field) const { return at(tallaro::ui::fieldControl(field)); }
    // Returns the design's place of a control's window; the design's size for
    // a window that is none of them.
    std::size_t indexOf(HWND control) const;
    bool hasToolTips() const { return m_toolTip != nullptr; }
    // Shows the tool-tips a control's mouse message from the queue, as
    // subclassing each control would (the window's own moves are no tool's):
    // they learn of the pointer from the message loop, without the lookup
    // that subclassing adds to every message a control gets.
    void relayToToolTips(MSG &message) const;

    static constexpr int kFirstId = 100;

private:
    std::array<HWND, tallaro::ui::kControls.size()> m_controls{};
    std::array<HFONT, 3> m_fonts{};  // by FontRole
    HWND m_toolTip = nullptr;
};

// Returns the text colour of a design colour: red, or the system's for the
// kind of control; in high contrast the system's always, as the user's
// theme asks.
COLORREF textColourOf(const tallaro::ui::ControlDesign &design, bool highContrast);

// Whether the user has high contrast on; a test hands in its own.
using HighContrastReader = bool (*)();
[[nodiscard]] bool highContrastOn();

// Whether the high-contrast flags that a SystemParametersInfoW-like call
// hands back say it is on: not merely available, as every Windows has it.
using SystemParametersFn = BOOL(WINAPI *)(UINT, UINT, PVOID, UINT);
[[nodiscard]] bool highContrastOnIn(SystemParametersFn systemParameters);
