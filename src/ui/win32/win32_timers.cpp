#include "ui/win32/win32_timers.h"

#include <timeapi.h>

#include <algorithm>
#include <chrono>

using tallaro::ui::Timer;

namespace {

UINT_PTR timerId(Timer timer) {
    return static_cast<UINT_PTR>(timer) + 1;
}

}  // namespace

TickPeriod systemTickPeriod() {
    return {timeBeginPeriod, timeEndPeriod};
}

Win32Timers::~Win32Timers() {
    endFinePeriod();
}

void Win32Timers::on(Timer which, int intervalMs) {
    if (m_onceTimer == which) {
        m_onceTimer.reset();
    }
    // Windows counts timers in its system tick, 15.6 ms unless a program
    // asks for a finer one: a fade asks for 1 ms while it runs, so that each
    // pause keeps its 10 ms, and gives it back when it ends.
    if (which == Timer::FadePause && !m_finePeriod) {
        m_finePeriod = m_period.begin(1) == TIMERR_NOERROR;
    }
    // Setting a running timer again starts its count afresh.
    SetTimer(m_window, timerId(which), static_cast<UINT>(intervalMs), nullptr);
}

void Win32Timers::off(Timer which) {
    if (m_onceTimer == which) {
        m_onceTimer.reset();
    }
    if (which == Timer::FadePause) {
        endFinePeriod();
    }
    KillTimer(m_window, timerId(which));
}

void Win32Timers::once(Timer which, int delayMs) {
    m_onceTimer = which;
    m_due = steadyMs() + delayMs;
    SetTimer(m_window, timerId(which), static_cast<UINT>(std::max(delayMs, 0)), nullptr);
}

std::optional<Timer> Win32Timers::fired(WPARAM id) {
    for (Timer which : {Timer::Meter, Timer::Poll, Timer::FadePause}) {
        if (id != timerId(which)) {
            continue;
        }
        if (m_onceTimer == which) {
            // Windows rounds an interval to its system tick, which may bring
            // it early: never before its time.
            const std::int64_t early = m_due - steadyMs();
            if (early > 0) {
                SetTimer(m_window, id, static_cast<UINT>(early), nullptr);
                return std::nullopt;
            }
            m_onceTimer.reset();
            KillTimer(m_window, id);
        }
        return which;
    }
    return std::nullopt;
}

std::int64_t Win32Timers::steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Win32Timers::endFinePeriod() {
    if (m_finePeriod) {
        m_period.end(1);
        m_finePeriod = false;
    }
}
