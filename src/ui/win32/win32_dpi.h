// win32_dpi.h
// Lengths at a monitor's DPI: the per-monitor functions where Windows has
// them (8.1 and 10 on), the system DPI where it does not.
#pragma once

#include <windows.h>

// Returns the pixels of a length in twips at a DPI.
inline int scaled(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// Returns the DPI of the system: the one all monitors have where Windows
// knows no DPI per monitor.
UINT systemDpi();

// Returns the DPI of the monitor nearest to a point of the screen: its
// effective DPI, the user's scale, not the raw one its size gives.
UINT monitorDpiAt(POINT point);

// The same through a GetDpiForMonitor-like function (a test hands in its
// own); the system DPI where there is none, or it fails.
using GetDpiForMonitorFn = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
UINT monitorDpiAt(POINT point, GetDpiForMonitorFn getDpiForMonitor);

// Grows a client rectangle to the window's outer one at a DPI.
void adjustWindowRectForDpi(RECT &rect, DWORD style, DWORD exStyle, UINT dpi);
