// win32_crossings.h
// Whether the pointer is over the window, title bar and frame included, as
// the messages Windows sends when it crosses the window's edge tell: the
// poll answers without asking, and asks only where the messages cannot tell
// (over a control, which takes the pointer's messages itself; after a leave,
// which may be into the window's other area; once the window was shown or
// moved).
#pragma once

#include <windows.h>

#include <optional>

class Win32Crossings {
public:
    enum class Area { None, Client, Frame };

    // The pointer moved over the window's client area (WM_MOUSEMOVE) or its
    // frame (WM_NCMOUSEMOVE): it is inside, and Windows is asked to send the
    // leave of that area. Returns whether the answer changed.
    bool movedOver(HWND window, Area area);
    // The leave of an area came (WM_MOUSELEAVE, WM_NCMOUSELEAVE): into the
    // other area, onto a control or out of the window. A leave of an area
    // no longer watched is old news. Returns whether the answer changed.
    bool left(Area area);
    // Only a query can tell now. Returns whether the answer changed.
    bool forget();
    // Asks Windows whether the pointer is within the window's outer
    // rectangle, and keeps what the answer tells: outside, until the pointer
    // comes back (Windows always says so); inside, over the window's own
    // client area or frame, until it leaves that area.
    bool query(HWND window);

    // Whether the pointer is over the window; nothing while only a query can tell.
    [[nodiscard]] std::optional<bool> inside() const { return m_inside; }

private:
    bool watch(HWND window, Area area);

    std::optional<bool> m_inside;
    Area m_watched = Area::None;  // the area whose leave Windows will send
};
