#include "ui/win32/win32_crossings.h"

// Windows sends one leave per request, for one area at a time, and forgets
// the request when the leave comes: it is asked for again on the next move.
bool Win32Crossings::watch(HWND window, Area area) {
    if (m_watched != area) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = area == Area::Frame ? TME_LEAVE | TME_NONCLIENT : TME_LEAVE;
        track.hwndTrack = window;
        m_watched = TrackMouseEvent(&track) != FALSE ? area : Area::None;
    }
    return m_watched == area;
}

bool Win32Crossings::movedOver(HWND window, Area area) {
    if (!watch(window, area)) {
        return forget();
    }
    const bool changed = m_inside != true;
    m_inside = true;
    return changed;
}

bool Win32Crossings::left(Area area) {
    if (area != m_watched) {
        return false;
    }
    m_watched = Area::None;
    return forget();
}

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
    } else if (WindowFromPoint(point) == window) {
        const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
        movedOver(window, hit == HTCLIENT ? Area::Client : Area::Frame);
    }
    return inside;
}
