// driver_checks.h
// What the parts of the Windows driver share: the record of its checks, the
// ways to the program's window and controls, and the checks kept in files of
// their own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/win32/screen_colours.h"

// Prints one check's outcome and counts it.
void check(bool ok, const std::string &what);

// Waits up to a time for a condition, looking every 50 ms.
template <class Condition>
inline bool waitFor(Condition condition, DWORD milliseconds) {
    for (DWORD waited = 0; waited <= milliseconds; waited += 50) {
        if (condition()) {
            return true;
        }
        Sleep(50);
    }
    return condition();
}

// A control by its name: the window numbers its controls from 100 on, in
// the design's order.
HWND controlOf(HWND window, const char *name);
// A control's text as another process reads it.
std::string textOf(HWND window);
// The window's layered alpha; 0 where it has none.
BYTE alphaOf(HWND window);
// Clicks a button as the user does.
void click(HWND window, const char *name);

// The tool-tips of the fields, read from the program's tool-tip window.
void checkToolTips(HWND window, HANDLE process);
// Labels and enabled fields take the pointer's moves; label clicks do nothing.
void checkLabelsAndFields(HWND window);
// A field without a number is tinted light red once "Start" refuses it.
void checkFieldMark(HWND window);
// Each control's colours on the screen, with the meter running.
void checkColours(HWND window);
// What a screen reader reads of the fields: each named by its caption, which
// stands just before it in the z-order.
void checkSpoken(HWND window);

// Topmost, layered, and the fades as the pointer comes and goes: every
// level in order, each fade begun at a mark of the poll.
void checkPresence(HWND window);

// The executable's machine, GUI subsystem and imports (only DLLs that come
// with Windows).
void checkImage(const wchar_t *path);
// The executable's version resource: numbers, language and version texts.
void checkVersion(const wchar_t *path);
// The executable's manifest: common controls 6, per-monitor DPI awareness.
void checkManifest(const wchar_t *path);
