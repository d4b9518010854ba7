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
