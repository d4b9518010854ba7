// win32_timers.h
// The window's timers on Windows: each switched on with an interval, or the
// poll's to run once and never before its time; the fade's pause at a finer
// system tick while a fade runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "ui/window_port.h"

// The system tick's period, asked for and given back: winmm's
// timeBeginPeriod and timeEndPeriod, or a test's own.
struct TickPeriod {
    UINT(WINAPI *begin)(UINT periodMs);
    UINT(WINAPI *end)(UINT periodMs);
};

// Returns Windows' own calls for the system tick's period.
TickPeriod systemTickPeriod();

class Win32Timers {
public:
    explicit Win32Timers(TickPeriod period = systemTickPeriod()) : m_period(period) {}
    ~Win32Timers();
    Win32Timers(const Win32Timers &) = delete;
    Win32Timers &operator=(const Win32Timers &) = delete;

    void attach(HWND window) { m_window = window; }

    // Switches a timer on with its interval (a fresh count) or off.
    void on(tallaro::ui::Timer which, int intervalMs);
    void off(tallaro::ui::Timer which);
    // Runs the timer once, delayMs from now.
    void once(tallaro::ui::Timer which, int delayMs);
    // Takes a WM_TIMER's id: the timer whose handler runs now, or nothing
    // (a timer that is none of these, or a run-once timer that came early,
    // which is set again for the rest of its time).
    std::optional<tallaro::ui::Timer> fired(WPARAM id);

    // Milliseconds on a steady clock.
    static std::int64_t steadyMs();

private:
    void endFinePeriod();

    TickPeriod m_period;
    HWND m_window = nullptr;
    std::optional<tallaro::ui::Timer> m_onceTimer;
    std::int64_t m_due = 0;     // when the run-once timer is due
    bool m_finePeriod = false;  // a 1 ms system tick asked for, during a fade
};
