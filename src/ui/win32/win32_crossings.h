// win32_crossings.h
// Whether the pointer is away from the window, as the mouse messages tell:
// once a query has found it outside the window's outer rectangle, it stays
// outside until a mouse message of the window's (over its client area, its
// frame or a control) says it came back, so the poll need not ask
// meanwhile. While it is over the window only a query can tell when it
// leaves: Windows keeps one mouse-leave request per desktop, which the
// controls' own hot-tracking and the tool-tips take over, so a leave the
// window asked for may never come (under Wine it was seen not to, and the
// window stayed opaque with the pointer away).
#pragma once

#include <windows.h>

#include <optional>

class Win32Crossings {
public:
    // A mouse message of the window's came, or the window was shown or
    // moved: the pointer may be over it, and only a query can tell. Returns
    // whether the answer changed.
    bool forget();
    // Asks Windows whether the pointer is within the window's outer
    // rectangle; outside, it is known to stay so until forget.
    bool query(HWND window);

    // False while the pointer is known to be away; nothing while only a
    // query can tell.
    [[nodiscard]] std::optional<bool> inside() const { return m_inside; }

private:
    std::optional<bool> m_inside;
};
