// The driver's checks of the window's presence: topmost and layered, faint
// with the pointer away and opaque with it over the window or its frame,
// each fade's levels in order, and each fade begun at a mark of the poll.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/win32/driver_checks.h"

namespace {

double nowMs() {
    LARGE_INTEGER count{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Watches the window's alpha every millisecond until it stands at a level,
// for up to 5 s; returns the alphas seen, each once, in the order seen.
std::vector<int> alphasUntil(HWND window, BYTE level) {
    std::vector<int> seen{alphaOf(window)};
    const double end = nowMs() + 5000;
    while (seen.back() != level && nowMs() < end) {
        Sleep(1);
        if (const int alpha = alphaOf(window); alpha != seen.back()) {
            seen.push_back(alpha);
        }
    }
    return seen;
}

// Whether a fade came as its levels (multiples of 5), one way only, and as
// more than a few of them: a window sampled every millisecond misses some
// of levels 10 ms apart, never most.
// The first alpha seen is the one the window rests at, before the fade's
// own levels (a fade-in from faint opens at 45, below faint's 50).
bool levelsInOrder(const std::vector<int> &seen) {
    const bool up = seen.back() > seen.front();
    bool ordered = seen.size() >= 10;
    for (std::size_t i = 2; i < seen.size(); ++i) {
        ordered =
            ordered && seen[i] % 5 == 0 && (up ? seen[i] > seen[i - 1] : seen[i] < seen[i - 1]);
    }
    return ordered;
}

// A fade to a level, which then holds while the pointer rests for several
// of the poll's periods.
void expectFade(HWND window, BYTE level, const std::string &what) {
    const std::vector<int> seen = alphasUntil(window, level);
    int held = level;
    for (const double end = nowMs() + 300; held == level && nowMs() < end; Sleep(1)) {
        held = alphaOf(window);
    }
    check(seen.back() == level && levelsInOrder(seen) && held == level,
          what + ": " + std::to_string(seen.size()) + " levels in order, to " +
              std::to_string(seen.back()) + ", then " + std::to_string(held) + " for 300 ms");
}

// Ten fades from faint, each begun by a move to a point at a moment that
// falls anywhere in the poll's 50 ms: the delays from each move to the
// fade's first level, in ms, in order.
template <class Point>
std::vector<double> delaysToFades(HWND window, const RECT &outer, Point point) {
    std::vector<double> delays;
    std::srand(GetTickCount());
    for (int move = 0; move < 10 && alphaOf(window) == 50; ++move) {
        Sleep(200 + static_cast<DWORD>(std::rand() % 50));
        const POINT to = point();
        const double moved = nowMs();
        SetCursorPos(to.x, to.y);
        while (alphaOf(window) == 50 && nowMs() - moved < 2000) {
            Sleep(1);
        }
        delays.push_back(nowMs() - moved);
        waitFor([&] { return alphaOf(window) == 255; }, 5000);
        SetCursorPos(outer.right + 50 + move, outer.bottom + 50);
        waitFor([&] { return alphaOf(window) == 50; }, 5000);
    }
    std::sort(delays.begin(), delays.end());
    return delays;
}

std::string spanOf(const std::vector<double> &delays) {
    return delays.empty() ? std::string("none")
                          : "from " + std::to_string(delays.front()) + " to " +
                                std::to_string(delays.back()) + " ms";
}

}  // namespace

void checkPresence(HWND window) {
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    check((exStyle & WS_EX_TOPMOST) != 0, "the window is topmost");
    check((exStyle & WS_EX_TOOLWINDOW) != 0, "the window is a tool window");
    check((exStyle & WS_EX_LAYERED) != 0, "the window is layered");
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    check((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0 &&
              (style & WS_SYSMENU) != 0,
          "a close box only, no sizing");
    RECT outer{};
    GetWindowRect(window, &outer);
    SetCursorPos(outer.left + 20, outer.top + 40);
    bool reached = waitFor([&] { return alphaOf(window) == 255; }, 5000);
    check(reached,
          "opaque after load with the pointer over it: " + std::to_string(alphaOf(window)));
    SetCursorPos(outer.right + 50, outer.bottom + 50);
    expectFade(window, 50, "faint (alpha 50) with the pointer away");
    SetCursorPos(outer.left + 5, outer.top + 5);
    expectFade(window, 255, "opaque with the pointer over the frame");
    SetCursorPos(outer.right, outer.bottom);  // the corner itself is outside
    expectFade(window, 50, "faint again with the pointer on the bottom right corner");

    // Straight from away onto a control, which takes the pointer's moves
    // itself (Wine brings no move for a pointer put onto an edit field).
    for (const char *name : {"BtnStart", "BtnNumPersM", "Label1", "LblPrice"}) {
        RECT control{};
        GetWindowRect(controlOf(window, name), &control);
        SetCursorPos((control.left + control.right) / 2, (control.top + control.bottom) / 2);
        expectFade(window, 255, std::string("opaque with the pointer come onto ") + name);
        SetCursorPos(outer.right + 50, outer.bottom + 50);
        waitFor([&] { return alphaOf(window) == 50; }, 5000);
    }
    // The window moved and shown again under a pointer resting away from it.
    POINT resting{outer.right + 60, outer.bottom + 60};
    SetCursorPos(resting.x, resting.y);
    Sleep(300);
    SetWindowPos(window, nullptr, resting.x - 30, resting.y - 5, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectFade(window, 255, "opaque once the window is moved under the resting pointer");
    SetWindowPos(window, nullptr, outer.left, outer.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectFade(window, 50, "faint once it is moved back");
    ShowWindow(window, SW_HIDE);
    SetCursorPos(outer.left + 20, outer.top + 5);
    Sleep(300);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    expectFade(window, 255, "opaque once the window is shown under the resting pointer");
    SetCursorPos(resting.x, resting.y);
    waitFor([&] { return alphaOf(window) == 50; }, 5000);

    // Ten moves onto the title bar at moments that fall anywhere in the
    // poll's 50 ms: each fade begins at the poll's next mark, so the delay to
    // its first level spreads over the period rather than coming at once.
    std::vector<double> delays = delaysToFades(window, outer, [&] {
        return POINT{outer.left + 10 + std::rand() % 120, outer.top + 3 + std::rand() % 6};
    });
    const bool spread =
        delays.size() == 10 && delays.back() - delays.front() >= 15 && delays.back() < 2000;
    check(spread, "ten fades begin at the poll's marks: delays " + spanOf(delays));
    // A move over the window's own background begins the fade at once: most
    // of ten such fades begin well within the poll's period.
    POINT background{30, 24};  // between the labels Personen and Gehalt / h at any scale
    ClientToScreen(window, &background);
    delays = delaysToFades(window, outer, [&] { return background; });
    check(delays.size() == 10 && delays[delays.size() / 2] < 12,
          "ten fades over the background begin at once: delays " + spanOf(delays));
}
