#include "ui/win32/win32_crossings.h"

bool Win32Crossings::forget() {
    const bool changed = m_inside.has_value();
    m_inside.reset();
    return changed;
}

bool Win32Crossings::query(HWND window) {
    POINT point{};
    RECT outer{};
    GetCursorPos(&point);
    GetWindowRect(window, &outer);
    // Like every rectangle of Windows', it holds its left and top edges but
    // not its right and bottom ones.
    const bool inside = PtInRect(&outer, point) != FALSE;
    if (!inside) {
        m_inside = false;
    }
    return inside;
}
