// The Win32 window in the test's own process, where the window port can be
// called as the handlers call it.
#include "ui/win32/frm_tallaro_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "numtext/number_text.h"
#include "test_locales.h"
#include "ui/expected_design.h"
#include "ui/win32/win32_locale.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_timers.h"

namespace expected = tallaro::expected;
using tallaro::ui::Timer;

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

// A control by its name: the window numbers its controls from 100 on, in
// the design's order.
HWND controlOf(HWND window, std::size_t index) {
    return GetDlgItem(window, 100 + static_cast<int>(index));
}

std::wstring wideTextOf(HWND window) {
    std::wstring text(256, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), 256)));
    return text;
}

// Serves the thread's messages until a condition holds, up to a time.
template <class Condition>
bool serveUntil(Condition condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return condition();
}

// Every control's font and place, at the DPI the window opened at and after
// Windows tells it of a monitor at another scale.
TEST(FrmTallaroWin32, EachControlHasItsFontAndPlaceAtEachScale) {
    struct Scale {
        UINT dpi;
        LONG height;       // of 8.25 pt, in pixels, negative: the character height
        LONG largeHeight;  // of 18 pt
    };
    FrmTallaroWin32 window(tallaro::test_locales::kGerman);
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    for (const Scale scale : {Scale{96, -11, -24}, Scale{144, -17, -36}, Scale{96, -11, -24}}) {
        RECT suggested{0, 0, MulDiv(240, static_cast<int>(scale.dpi), 96),
                       MulDiv(130, static_cast<int>(scale.dpi), 96)};
        SendMessageW(window.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(scale.dpi, scale.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        for (std::size_t i = 0; i < expected::kControls.size(); ++i) {
            const expected::Control &design = expected::kControls[i];
            HWND control = controlOf(window.hwnd(), i);
            LOGFONTW font{};
            ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                                 sizeof font, &font),
                      0)
                << design.name;
            EXPECT_EQ(toUtf8(font.lfFaceName), expected::kFontFace) << design.name;
            EXPECT_EQ(font.lfHeight, design.pointSize > 10 ? scale.largeHeight : scale.height)
                << design.name << " at " << scale.dpi << " dpi";
            EXPECT_EQ(font.lfWeight, design.bold ? 700 : 400) << design.name;
            RECT rect{};
            GetWindowRect(control, &rect);
            MapWindowPoints(HWND_DESKTOP, window.hwnd(), reinterpret_cast<POINT *>(&rect), 2);
            const int dpi = static_cast<int>(scale.dpi);
            EXPECT_EQ(rect.left, MulDiv(design.left, dpi, 1440)) << design.name;
            EXPECT_EQ(rect.top, MulDiv(design.top, dpi, 1440)) << design.name;
            EXPECT_EQ(rect.right, MulDiv(design.left + design.width, dpi, 1440)) << design.name;
            EXPECT_EQ(rect.bottom, MulDiv(design.top + design.height, dpi, 1440)) << design.name;
        }
    }
    DestroyWindow(window.hwnd());
}

// What the window has a screen reader told, as Windows would keep it (Wine
// keeps no annotation: its IAccPropServices answers E_NOTIMPL).
class HeardTexts final : public SpokenTexts {
public:
    struct Heard {
        int controlId;
        SpokenProperty property;
        std::string text;
    };
    explicit HeardTexts(std::vector<Heard> &heard) : m_heard(heard) {}
    void annotate(HWND control, SpokenProperty property, const std::wstring &text) override {
        m_heard.push_back({GetDlgCtrlID(control), property, toUtf8(text)});
    }
    void clear() override { m_heard.clear(); }

private:
    std::vector<Heard> &m_heard;
};

// The step buttons are named after what they step and which way, their
// visible text first; the displays say what they show; the window texts stay.
TEST(FrmTallaroWin32, AScreenReaderHearsWhatEachButtonAndDisplayIs) {
    std::vector<HeardTexts::Heard> heard;
    FrmTallaroWin32 window(tallaro::test_locales::kGerman, std::make_unique<HeardTexts>(heard));
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    std::size_t expectedCount = 0;
    for (std::size_t i = 0; i < expected::kSpoken.size(); ++i) {
        const expected::Spoken &spoken = expected::kSpoken[i];
        const expected::Control &design = expected::kControls[i];
        const bool named =
            design.kind == expected::Kind::Button && std::string(spoken.spokenName) != design.text;
        for (const auto &[property, text] :
             {std::pair{SpokenProperty::Name, named ? spoken.spokenName : ""},
              std::pair{SpokenProperty::Description,
                        design.kind == expected::Kind::Label ? spoken.description : ""}}) {
            const auto found = std::find_if(heard.begin(), heard.end(), [&](const auto &h) {
                return h.controlId == 100 + static_cast<int>(i) && h.property == property;
            });
            if (text[0] == '\0') {
                EXPECT_EQ(found, heard.end()) << spoken.name;
                continue;
            }
            ++expectedCount;
            ASSERT_NE(found, heard.end()) << spoken.name;
            EXPECT_EQ(found->text, text) << spoken.name;
        }
        EXPECT_EQ(toUtf8(wideTextOf(controlOf(window.hwnd(), i))), design.text) << spoken.name;
    }
    EXPECT_EQ(heard.size(), expectedCount);
    DestroyWindow(window.hwnd());
    EXPECT_TRUE(heard.empty()) << "annotations left behind the window";
}

// The user's high-contrast setting, as the test sets it (Wine cannot set
// Windows' own: SPI_SETHIGHCONTRAST fails there).
bool g_highContrast = false;
bool testsContrast() {
    return g_highContrast;
}

// The amount and the time are red unless the user has high contrast on,
// where they take the theme's text colour: at start, and when the user
// switches it while the program runs.
TEST(FrmTallaroWin32, TheDisplaysFollowHighContrast) {
    const COLORREF red = RGB(expected::kRed[0], expected::kRed[1], expected::kRed[2]);
    const COLORREF theme = GetSysColor(COLOR_BTNTEXT);
    struct Step {
        bool on;
        UINT message;  // what Windows sends when the user switches; 0: none
        COLORREF colour;
    };
    for (const bool onAtStart : {false, true}) {
        g_highContrast = onAtStart;
        FrmTallaroWin32 window(tallaro::test_locales::kGerman, nullptr, testsContrast);
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        const Step steps[] = {{onAtStart, 0, onAtStart ? theme : red},
                              {!onAtStart, WM_SETTINGCHANGE, onAtStart ? red : theme},
                              {onAtStart, WM_SYSCOLORCHANGE, onAtStart ? theme : red},
                              {!onAtStart, 0, onAtStart ? theme : red}};
        for (const Step &step : steps) {
            g_highContrast = step.on;
            if (step.message != 0) {
                SendMessageW(window.hwnd(), step.message, SPI_SETHIGHCONTRAST, 0);
            }
            for (const std::size_t label :
                 {std::size_t{3}, std::size_t{13}}) {  // LblPrice, LblTime
                HDC dc = CreateCompatibleDC(nullptr);
                SendMessageW(window.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(controlOf(window.hwnd(), label)));
                EXPECT_EQ(GetTextColor(dc), step.colour)
                    << expected::kControls[label].name << ", high contrast " << step.on;
                DeleteDC(dc);
            }
        }
        DestroyWindow(window.hwnd());
    }
}

// A field takes a text far longer than it is wide, and gives it back whole.
TEST(FrmTallaroWin32, AFieldTakesAnyLengthOfText) {
    FrmTallaroWin32 window(tallaro::test_locales::kGerman);
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    HWND field = controlOf(window.hwnd(), 0);
    SetWindowTextW(field, L"");
    const std::wstring typed = L"1234567890 Personen am Tisch, 1234567890 im Raum, 1234567890";
    for (wchar_t c : typed) {
        SendMessageW(field, WM_CHAR, c, 1);
    }
    EXPECT_EQ(wideTextOf(field), typed);
    DestroyWindow(window.hwnd());
}

// A base cost typed with the locale's group separator is read, and the
// amount comes back in the locale's separators, in the label and the
// caption, as the same characters.
TEST(FrmTallaroWin32, TheAmountReadsAndShowsTheLocalesSeparators) {
    struct Row {
        tallaro::NumberLocale locale;
        const wchar_t *baseCost;
        const wchar_t *amount;  // after the first second of 1 person at 36 an hour
    };
    using namespace tallaro::test_locales;
    for (const Row &row :
         {Row{kGerman, L"1.234", L"1.234,01"}, Row{kFrench, L"1\u202F234", L"1\u202F234,01"},
          Row{kSwiss, L"1\u2019234", L"1\u2019234.01"},
          Row{kRussian, L"1\u00A0234", L"1\u00A0234,01"}}) {
        FrmTallaroWin32 window(row.locale);
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        HWND amount = controlOf(window.hwnd(), 3);
        SetWindowTextW(controlOf(window.hwnd(), 1), L"36");
        SetWindowTextW(controlOf(window.hwnd(), 2), row.baseCost);
        SendMessageW(controlOf(window.hwnd(), 4), BM_CLICK, 0, 0);  // Start
        const std::wstring shown = row.amount;
        EXPECT_TRUE(serveUntil([&] { return wideTextOf(amount) != L"0,00"; }, 3000));
        EXPECT_EQ(wideTextOf(amount), shown) << row.locale.groupSeparator;
        EXPECT_EQ(wideTextOf(window.hwnd()), shown + L" - Tallaro");
        DestroyWindow(window.hwnd());
    }
}

// The system tick's period, counted.
int g_begun = 0;
int g_ended = 0;
UINT WINAPI countBegin(UINT) {
    ++g_begun;
    return 0;  // TIMERR_NOERROR
}
UINT WINAPI countEnd(UINT) {
    ++g_ended;
    return 0;
}

// A 1 ms system tick is asked for while a fade pauses between its levels,
// and only then: once per fade, given back when it ends or the window goes.
TEST(Win32Timers, AskForAFineTickOnlyDuringAFade) {
    struct Step {
        enum { On, Off, Once } what;
        Timer timer;
    };
    struct Row {
        const char *what;
        std::vector<Step> steps;
        int begunAfter;
        int endedAfter;  // before the timers go; after, every begun period is ended
    };
    using enum Timer;
    const Row rows[] = {
        {"the meter runs and stops", {{Step::On, Meter}, {Step::Off, Meter}}, 0, 0},
        {"the poll beats, runs once, stops",
         {{Step::On, Poll}, {Step::Once, Poll}, {Step::Off, Poll}},
         0,
         0},
        {"a fade: a pause after each level",
         {{Step::On, FadePause},
          {Step::On, FadePause},
          {Step::On, FadePause},
          {Step::Off, FadePause}},
         1,
         1},
        {"two fades",
         {{Step::On, FadePause},
          {Step::Off, FadePause},
          {Step::On, FadePause},
          {Step::Off, FadePause}},
         2,
         2},
        {"the meter stops during a fade", {{Step::On, FadePause}, {Step::Off, Meter}}, 1, 0},
        {"the window goes during a fade", {{Step::On, Meter}, {Step::On, FadePause}}, 1, 0},
    };
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    for (const Row &row : rows) {
        g_begun = g_ended = 0;
        {
            Win32Timers timers({countBegin, countEnd});
            timers.attach(window);
            for (const Step &step : row.steps) {
                if (step.what == Step::On) {
                    timers.on(step.timer, 10);
                } else if (step.what == Step::Off) {
                    timers.off(step.timer);
                } else {
                    timers.once(step.timer, 10);
                }
            }
            EXPECT_EQ(g_begun, row.begunAfter) << row.what;
            EXPECT_EQ(g_ended, row.endedAfter) << row.what;
        }
        EXPECT_EQ(g_ended, g_begun) << row.what << ", once the timers are gone";
    }
    DestroyWindow(window);
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

// Windows keeps the system's conventions beside the user's, and a locale's
// defaults beside what the user changed; under Wine all three read the same,
// so a reader of the test's own tells them apart.
int WINAPI settingsApart(LCID locale, LCTYPE type, LPWSTR buffer, int size) {
    const bool users = locale == LOCALE_USER_DEFAULT && (type & LOCALE_NOUSEROVERRIDE) == 0;
    const bool decimal = (type & ~LOCALE_NOUSEROVERRIDE) == LOCALE_SDECIMAL;
    const wchar_t *text = decimal ? (users ? L"\u066B" : L",") : (users ? L"\u2009" : L".");
    lstrcpynW(buffer, text, size);
    return lstrlenW(text) + 1;
}

TEST(UserNumberLocale, TakesTheUsersSettingsNotTheSystemsNorTheDefaults) {
    const tallaro::NumberLocale locale = userNumberLocale(settingsApart);
    EXPECT_EQ(locale.decimalSeparator, "\u066B");  // the Arabic decimal separator
    EXPECT_EQ(locale.groupSeparator, "\u2009");
}

}  // namespace
