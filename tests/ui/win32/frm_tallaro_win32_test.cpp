// The Win32 window in the test's own process, where the window port can be
// called as the handlers call it.
#include "ui/win32/frm_tallaro_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "numtext/number_text.h"
#include "test_locales.h"
#include "ui/win32/win32_locale.h"

namespace {

LONG exStyleOf(HWND window) {
    return GetWindowLongW(window, GWL_EXSTYLE);
}

BYTE alphaOf(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    return GetLayeredWindowAttributes(window, &key, &alpha, &flags) ? alpha : 0;
}

TEST(FrmTallaroWin32, SetTransIgnoresLevelsOutsideOneTo255) {
    FrmTallaroWin32 window(tallaro::test_locales::kGerman);
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    tallaro::ui::WindowPort &port = window;
    port.showWindow();
    const LONG before = exStyleOf(window.hwnd());
    ASSERT_EQ(before & WS_EX_LAYERED, 0);
    for (int level : {0, 256, 260, -5}) {
        port.SetTrans(static_cast<std::int16_t>(level));
        EXPECT_EQ(exStyleOf(window.hwnd()), before) << "level " << level;
    }
    port.SetTrans(1);
    EXPECT_NE(exStyleOf(window.hwnd()) & WS_EX_LAYERED, 0);
    EXPECT_EQ(alphaOf(window.hwnd()), 1);
    port.SetTrans(255);
    port.SetTrans(255);
    EXPECT_EQ(alphaOf(window.hwnd()), 255);
    port.SetTrans(0);
    EXPECT_EQ(alphaOf(window.hwnd()), 255);
    DestroyWindow(window.hwnd());
}

// What the test's own message loop hands the window, and when it acts.
struct Watch {
    HWND window = nullptr;
    int timers = 0;  // WM_TIMER messages the window received
    int timersWhileFaint = -1;
    BYTE alphaWhenFaint = 0;
};
Watch g_watch;

LRESULT CALLBACK countTimers(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *message = reinterpret_cast<const MSG *>(lParam);
    if (code == HC_ACTION && message->hwnd == g_watch.window && message->message == WM_TIMER) {
        ++g_watch.timers;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK quietEnded(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_watch.timersWhileFaint = g_watch.timers;
    g_watch.alphaWhenFaint = alphaOf(g_watch.window);
    PostMessageW(g_watch.window, WM_CLOSE, 0, 0);
}

// Looks every 100 ms, up to 10 s, for the end of the load's fades (in to
// opaque, whose way up passes 50 too, then out, whose last pause follows its
// last level); once the window has stood faint for a look, watches it for 3 s.
void CALLBACK lookForFaint(HWND, UINT, UINT_PTR id, DWORD) {
    static int looks = 0;
    static int faintLooks = 0;
    static bool wasOpaque = false;
    const BYTE alpha = alphaOf(g_watch.window);
    wasOpaque = wasOpaque || alpha == 255;
    faintLooks = wasOpaque && alpha == 50 ? faintLooks + 1 : 0;
    if (faintLooks == 2 || ++looks == 100) {
        KillTimer(nullptr, id);
        g_watch.timers = 0;
        SetTimer(nullptr, 0, 3000, quietEnded);
    }
}

// Stopped and faint with the pointer away, the window sleeps: the crossings
// of its edge tell when the pointer comes, so no poll beats meanwhile.
TEST(FrmTallaroWin32, StoppedAndFaintWithThePointerAwayNoTimerComes) {
    // The quit an earlier window of the thread left behind ends no loop here.
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
    }
    FrmTallaroWin32 window(tallaro::test_locales::kGerman);
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    RECT outer{};
    GetWindowRect(window.hwnd(), &outer);
    SetCursorPos(outer.right + 100, outer.bottom + 100);
    g_watch = {window.hwnd()};
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, countTimers, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    // Steps of the test's own, from its loop: the load's fades end, a quiet
    // while is watched, the window is closed.
    SetTimer(nullptr, 0, 100, lookForFaint);
    EXPECT_EQ(window.run(), 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_watch.alphaWhenFaint, 50);
    EXPECT_EQ(g_watch.timersWhileFaint, 0);
}

// A group separator the user sets (the thin or the figure space, say)
// reaches the window as the same character, and numbers typed with it, or
// with a plain space in its place, are read.
TEST(UserNumberLocale, TakesTheGroupSeparatorTheUserSet) {
    wchar_t saved[16] = {};
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved, 16), 0);
    for (const auto &[wide, utf8] : {std::pair{L"\u2009", "\u2009"}, std::pair{L"\u2007", "\u2007"},
                                     std::pair{L"\u00A0", "\u00A0"}, std::pair{L".", "."}}) {
        ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, wide));
        const tallaro::NumberLocale locale = userNumberLocale();
        EXPECT_EQ(locale.groupSeparator, utf8);
        const std::string grouped = "1" + locale.groupSeparator + "234";
        EXPECT_EQ(tallaro::textToDouble(grouped, locale), 1234.0) << grouped;
        if (locale.groupSeparator != ".") {
            EXPECT_EQ(tallaro::textToDouble("1 234", locale), 1234.0) << utf8;
        }
    }
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved);
}

}  // namespace
