// The Win32 window in the test's own process, where the window port can be
// called as the handlers call it.
#include "ui/win32/frm_tallaro_win32.h"

#include <gtest/gtest.h>

#include "test_locales.h"

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

}  // namespace
