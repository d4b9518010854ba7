// The Win32 window in the test's own process, where the window port can be
// called as the handlers call it.
#include "ui/win32/frm_tallaro_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <oleacc.h>

#include "numtext/number_text.h"
#include "test_locales.h"
#include "ui/expected_design.h"
#include "ui/win32/screen_colours.h"
#include "ui/win32/win32_dpi.h"
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

// Shows the window without taking the focus (so no caret blinks in a
// field), and serves its messages until what it paints is on the screen.
void showOnScreen(HWND window) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    serveUntil([] { return false; }, 300);
}

// How many pixels of the window, as the screen shows them, a full repaint
// changes: any is a piece of an earlier picture left standing.
std::size_t pixelsAFullRepaintChanges(HWND window) {
    const std::vector<COLORREF> shown = screenPixelsOf(window);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    serveUntil([] { return false; }, 200);
    const std::vector<COLORREF> repainted = screenPixelsOf(window);
    std::size_t changed = shown.size() == repainted.size() ? 0 : repainted.size() + 1;
    for (std::size_t i = 0; i < shown.size() && i < repainted.size(); ++i) {
        changed += shown[i] != repainted[i] ? 1U : 0U;
    }
    return changed;
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
    showOnScreen(window.hwnd());
    for (const Scale scale : {Scale{96, -11, -24}, Scale{144, -17, -36}, Scale{96, -11, -24}}) {
        RECT suggested{0, 0, MulDiv(240, static_cast<int>(scale.dpi), 96),
                       MulDiv(130, static_cast<int>(scale.dpi), 96)};
        SendMessageW(window.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(scale.dpi, scale.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        serveUntil([] { return false; }, 300);
        EXPECT_EQ(pixelsAFullRepaintChanges(window.hwnd()), 0U)
            << "the screen after the change to " << scale.dpi << " dpi";
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

// Windows' annotation services, keeping what the window gives each
// control's name or description as a screen reader would find it (Wine's
// keep nothing: they answer E_NOTIMPL).
class KeptAnnotations final : public IAccPropServices {
public:
    struct Kept {
        int controlId;
        DWORD object;
        DWORD child;
        GUID property;
        std::string text;
    };
    std::vector<Kept> kept;

    HRESULT WINAPI SetHwndPropStr(HWND control, DWORD object, DWORD child, MSAAPROPID property,
                                  LPCWSTR text) override {
        kept.push_back({GetDlgCtrlID(control), object, child, property, toUtf8(text)});
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND control, DWORD object, DWORD child,
                                  const MSAAPROPID *properties, int count) override {
        for (int i = 0; i < count; ++i) {
            std::erase_if(kept, [&](const Kept &k) {
                return k.controlId == GetDlgCtrlID(control) && k.object == object &&
                       k.child == child && IsEqualGUID(k.property, properties[i]);
            });
        }
        return S_OK;
    }
    HRESULT WINAPI QueryInterface(REFIID, void **out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return ++m_references; }
    ULONG WINAPI Release() override { return --m_references; }
    ULONG references() const { return m_references; }
    // What the window never asks for.
    HRESULT WINAPI SetPropValue(const BYTE *, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetPropServer(const BYTE *, DWORD, const MSAAPROPID *, int, IAccPropServer *,
                                 AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearProps(const BYTE *, DWORD, const MSAAPROPID *, int) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID *, int, IAccPropServer *,
                                     AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE **, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE *, DWORD, HWND *, DWORD *,
                                               DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID *, int, IAccPropServer *,
                                      AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID *, int) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE **, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE *, DWORD, HMENU *, DWORD *) override {
        return E_NOTIMPL;
    }

private:
    ULONG m_references = 1;
};

// The step buttons are named after what they step and which way, their
// visible text first; the displays say what they show, as their
// description; the window texts stay. Each goes to the control itself.
TEST(FrmTallaroWin32, AScreenReaderHearsWhatEachButtonAndDisplayIs) {
    KeptAnnotations services;
    auto window = std::make_unique<FrmTallaroWin32>(tallaro::test_locales::kGerman,
                                                    std::make_unique<Win32SpokenTexts>(&services));
    ASSERT_TRUE(window->create(GetModuleHandleW(nullptr)));
    std::vector<KeptAnnotations::Kept> &kept = services.kept;
    std::size_t expectedCount = 0;
    for (std::size_t i = 0; i < expected::kSpoken.size(); ++i) {
        const expected::Spoken &spoken = expected::kSpoken[i];
        const expected::Control &design = expected::kControls[i];
        const bool named =
            design.kind == expected::Kind::Button && std::string(spoken.spokenName) != design.text;
        for (const auto &[property, text] :
             {std::pair{PROPID_ACC_NAME, named ? spoken.spokenName : ""},
              std::pair{PROPID_ACC_DESCRIPTION,
                        design.kind == expected::Kind::Label ? spoken.description : ""}}) {
            const auto found = std::find_if(kept.begin(), kept.end(), [&](const auto &k) {
                return k.controlId == 100 + static_cast<int>(i) &&
                       IsEqualGUID(k.property, property);
            });
            if (text[0] == '\0') {
                EXPECT_EQ(found, kept.end()) << spoken.name;
                continue;
            }
            ++expectedCount;
            ASSERT_NE(found, kept.end()) << spoken.name;
            EXPECT_EQ(found->text, text) << spoken.name;
            EXPECT_EQ(found->object, static_cast<DWORD>(OBJID_CLIENT)) << spoken.name;
            EXPECT_EQ(found->child, static_cast<DWORD>(CHILDID_SELF)) << spoken.name;
        }
        EXPECT_EQ(toUtf8(wideTextOf(controlOf(window->hwnd(), i))), design.text) << spoken.name;
    }
    EXPECT_EQ(kept.size(), expectedCount);
    DestroyWindow(window->hwnd());
    EXPECT_TRUE(kept.empty()) << "annotations left behind the window";
    window.reset();
    EXPECT_EQ(services.references(), 1U) << "the services held beyond the window";
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
    ASSERT_TRUE(setDistinctSystemColours());
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
        showOnScreen(window.hwnd());
        const Step steps[] = {{onAtStart, 0, onAtStart ? theme : red},
                              {!onAtStart, WM_SETTINGCHANGE, onAtStart ? red : theme},
                              {onAtStart, WM_SYSCOLORCHANGE, onAtStart ? theme : red},
                              {!onAtStart, 0, onAtStart ? theme : red}};
        for (const Step &step : steps) {
            g_highContrast = step.on;
            if (step.message != 0) {
                SendMessageW(window.hwnd(), step.message, SPI_SETHIGHCONTRAST, 0);
            }
            serveUntil([] { return false; }, 200);
            for (const std::size_t label :
                 {std::size_t{3}, std::size_t{13}}) {  // LblPrice, LblTime
                HDC dc = CreateCompatibleDC(nullptr);
                SendMessageW(window.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(controlOf(window.hwnd(), label)));
                EXPECT_EQ(GetTextColor(dc), step.colour)
                    << expected::kControls[label].name << ", high contrast " << step.on;
                DeleteDC(dc);
                // The meter stands still: the screen changes only by a repaint.
                EXPECT_EQ(hexOf(drawnOf(controlOf(window.hwnd(), label)).ink), hexOf(step.colour))
                    << expected::kControls[label].name << " on the screen, high contrast "
                    << step.on;
            }
        }
        DestroyWindow(window.hwnd());
    }
}

// The high-contrast flags as Windows hands them out, through a stand-in for
// SystemParametersInfoW that checks the call as Windows does.
DWORD g_contrastFlags = 0;
BOOL g_contrastAnswers = TRUE;
BOOL WINAPI contrastFlags(UINT action, UINT size, PVOID contrast, UINT) {
    auto *asked = static_cast<HIGHCONTRASTW *>(contrast);
    if (action != SPI_GETHIGHCONTRAST || size != sizeof *asked || asked->cbSize != sizeof *asked) {
        return FALSE;
    }
    asked->dwFlags = g_contrastFlags;
    return g_contrastAnswers;
}

TEST(HighContrast, IsOnOnlyWhereWindowsSaysItIsOn) {
    struct Row {
        const char *what;
        DWORD flags;
        BOOL answers;
        bool on;
    };
    const Row rows[] = {
        {"on and available", HCF_HIGHCONTRASTON | HCF_AVAILABLE, TRUE, true},
        {"available only, as on every Windows", HCF_AVAILABLE, TRUE, false},
        {"neither", 0, TRUE, false},
        {"on, by its hot key", HCF_HIGHCONTRASTON | HCF_AVAILABLE | HCF_HOTKEYACTIVE, TRUE, true},
        {"available with its hot key, off", HCF_AVAILABLE | HCF_HOTKEYAVAILABLE, TRUE, false},
        {"the call fails", HCF_HIGHCONTRASTON, FALSE, false},
    };
    for (const Row &row : rows) {
        g_contrastFlags = row.flags;
        g_contrastAnswers = row.answers;
        EXPECT_EQ(highContrastOnIn(contrastFlags), row.on) << row.what;
    }
}

// A monitor's DPIs kept apart, as Windows reports a 27-inch 4K screen at
// 150 % (under Wine all three are the same).
HRESULT WINAPI dpisApart(HMONITOR, int type, UINT *x, UINT *y) {
    const UINT dpis[] = {144, 163, 163};  // effective, angular, raw
    if (type < 0 || type > 2) {
        return E_INVALIDARG;
    }
    *x = *y = dpis[type];
    return S_OK;
}
HRESULT WINAPI dpiFails(HMONITOR, int, UINT *, UINT *) {
    return E_FAIL;
}

TEST(MonitorDpi, IsTheScaleTheUserSetNotTheScreensDensity) {
    EXPECT_EQ(monitorDpiAt({10, 10}, dpisApart), 144U);
    EXPECT_EQ(monitorDpiAt({10, 10}, dpiFails), systemDpi());
    EXPECT_EQ(monitorDpiAt({10, 10}, nullptr), systemDpi());
}

// Which of the thread's windows are sent a change of the system colours.
std::vector<HWND> g_toldOfColours;
LRESULT CALLBACK noteColourChange(int code, WPARAM wParam, LPARAM lParam) {
    const auto *sent = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && sent->message == WM_SYSCOLORCHANGE) {
        g_toldOfColours.push_back(sent->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The user picks other colours while the program runs: Windows tells the
// window, which tells each of its controls, and the screen shows the new
// colours everywhere.
TEST(FrmTallaroWin32, ColoursChangedWhileItRunsReachEachControlAndTheScreen) {
    ASSERT_TRUE(setDistinctSystemColours());
    FrmTallaroWin32 window(tallaro::test_locales::kGerman);
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    showOnScreen(window.hwnd());
    g_toldOfColours.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, noteColourChange, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const int elements[] = {COLOR_BTNTEXT, COLOR_BTNFACE, COLOR_WINDOW};
    const COLORREF chosen[] = {RGB(110, 0, 110), RGB(232, 222, 196), RGB(236, 255, 236)};
    ASSERT_TRUE(SetSysColors(3, elements, chosen));
    serveUntil([] { return false; }, 300);
    UnhookWindowsHookEx(hook);
    for (std::size_t i = 0; i < expected::kControls.size(); ++i) {
        EXPECT_GE(
            std::count(g_toldOfColours.begin(), g_toldOfColours.end(), controlOf(window.hwnd(), i)),
            1)
            << expected::kControls[i].name << " is told of the new colours";
    }
    const COLORREF red = RGB(expected::kRed[0], expected::kRed[1], expected::kRed[2]);
    struct Row {
        std::size_t control;
        COLORREF ink;
        COLORREF background;
    };
    for (const Row &row : {Row{10, chosen[0], chosen[1]},                        // Label1
                           Row{3, red, chosen[1]},                               // LblPrice
                           Row{1, GetSysColor(COLOR_WINDOWTEXT), chosen[2]}}) {  // TextMoneyPers
        const Drawn drawn = drawnOf(controlOf(window.hwnd(), row.control));
        EXPECT_EQ(hexOf(drawn.ink) + " on " + hexOf(drawn.background),
                  hexOf(row.ink) + " on " + hexOf(row.background))
            << expected::kControls[row.control].name;
    }
    DestroyWindow(window.hwnd());
    ASSERT_TRUE(setDistinctSystemColours());
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
