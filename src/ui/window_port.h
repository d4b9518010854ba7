// window_port.h
// What the window's logic asks of a window layer: the controls it reads and
// writes, its timers, and its presence on the desktop. Each window layer
// (Qt, Win32) implements this once; the logic itself lives in TallaroForm.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallaro {

struct MeterDisplay;

namespace ui {

enum class Field { NumPers, MoneyPers, BaseCost };

enum class Timer {
    Meter,      // Timer1: one tick a second while the meter runs
    Poll,       // Timer2: the pointer poll
    FadePause,  // FadePause: the 10 ms pause after each level of a fade
};

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // The field's text as UTF-8.
    virtual std::string fieldText(Field field) const = 0;
    virtual void setFieldText(Field field, std::string_view text) = 0;
    // A field that holds no usable number carries a visible mark.
    virtual void setFieldMarked(Field field, bool marked) = 0;
    virtual void setBaseCostEnabled(bool enabled) = 0;
    // Writes the amount label, the window caption and the time label.
    virtual void showDisplay(const MeterDisplay &display) = 0;

    // Switches a timer on with its interval (a fresh count) or off.
    virtual void switchTimerOn(Timer timer, int intervalMs) = 0;
    virtual void switchTimerOff(Timer timer) = 0;

    // Whether the window system lets the window stay on top, fade and tell
    // where the pointer is; without, the window is shown as it is.
    virtual bool hasPresence() const = 0;
    // Applies an opacity level: 1..255 as the window's alpha, others change nothing.
    virtual void SetTrans(std::int16_t Trans) = 0;
    // Puts the window into the topmost band, for good, and shows it.
    virtual void placeTopmost() = 0;
    // Shows the window, non-modal, leaving its opacity, size and band alone.
    virtual void showWindow() = 0;
    // Repaints the window and its controls at once.
    virtual void repaintWindow() = 0;
    // Whether the pointer is within the window's outer rectangle, frame and
    // title bar included, its right and bottom edges excluded.
    virtual bool pointerInside() const = 0;

    // A layer whose window system tells each crossing of the window's edge
    // (it then calls Form_PointerCrossed) lets the poll sleep until it can
    // change something; the others keep it beating every interval.
    virtual bool tellsCrossings() const { return false; }
    // Whether the pointer is over the window as the crossings tell, without
    // asking the window system; nothing while only a query can tell.
    virtual std::optional<bool> crossedInside() const { return std::nullopt; }
    // Milliseconds on a steady clock, for the poll's marks.
    virtual std::int64_t steadyMs() const { return 0; }
    // Runs Timer2_Timer once, delayMs from now, in place of the poll's beat;
    // switchTimerOff(Timer::Poll) cancels it.
    virtual void wakePollIn(int /*delayMs*/) {}
};

}  // namespace ui
}  // namespace tallaro
