// The driver's checks of what a user meets on the window's controls: the
// tool-tips, the labels and fields under the pointer, and the mark of a
// field without a number.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "ui/expected_design.h"
#include "ui/win32/driver_checks.h"
#include "ui/win32/win32_text.h"

namespace expected = tallaro::expected;

namespace {

// Finds the tool-tip window owned by a window: the search's first.
BOOL CALLBACK findToolTips(HWND candidate, LPARAM search) {
    wchar_t name[32] = {};
    GetClassNameW(candidate, name, 32);
    auto *owned = reinterpret_cast<std::pair<HWND, HWND> *>(search);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(candidate, GW_OWNER) == owned->first) {
        owned->second = candidate;
        return FALSE;
    }
    return TRUE;
}

// Whether a control is drawn in its colours, said with what was seen; on
// the window's colour, its text stands in no band of the fields' white.
void checkDrawn(HWND window, const char *name, COLORREF background, COLORREF ink,
                const std::string &what) {
    const Drawn drawn = drawnOf(controlOf(window, name));
    const bool banded =
        background == GetSysColor(COLOR_BTNFACE) && drawn.shows(GetSysColor(COLOR_WINDOW));
    check(drawn.background == background && drawn.ink == ink && !banded,
          std::string(name) + " " + what + " (" + hexOf(drawn.ink) + " on " +
              hexOf(drawn.background) + ")");
}

// Makes the window opaque with the pointer resting on its title bar, away
// from the controls.
void opaqueUnderThePointer(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    SetCursorPos(outer.left + 20, outer.top + 5);
    waitFor([&] { return alphaOf(window) == 255; }, 5000);
}

}  // namespace

// The tool-tips, read from the program's tool-tip window through memory
// lent in the program's own address space (a message cannot carry a pointer
// across processes).
void checkToolTips(HWND window, HANDLE process) {
    std::pair<HWND, HWND> search(window, nullptr);
    EnumWindows(findToolTips, reinterpret_cast<LPARAM>(&search));
    HWND tips = search.second;
    check(tips != nullptr, "the window has a tool-tip window");
    if (tips == nullptr) {
        return;
    }
    std::size_t expectedCount = 0;
    for (const expected::Control &design : expected::kControls) {
        expectedCount += design.toolTip[0] != '\0' ? 1 : 0;
    }
    const auto count = static_cast<std::size_t>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    check(count == expectedCount, "it holds " + std::to_string(count) + " tool-tips");
    constexpr SIZE_T kTextChars = 128;
    auto *remote = static_cast<char *>(
        VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) {
        check(false, "memory lent in the program");
        return;
    }
    for (const expected::Control &design : expected::kControls) {
        if (design.toolTip[0] == '\0') {
            continue;
        }
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(controlOf(window, design.name));
        tool.lpszText = reinterpret_cast<wchar_t *>(remote + sizeof tool);
        WriteProcessMemory(process, remote, &tool, sizeof tool, nullptr);
        SendMessageW(tips, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote));
        wchar_t text[kTextChars] = {};
        ReadProcessMemory(process, remote + sizeof tool, text, sizeof text - sizeof(wchar_t),
                          nullptr);
        check(toUtf8(text) == design.toolTip,
              std::string(design.name) + "'s tool-tip reads \"" + toUtf8(text) + "\"");
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    // The tool-tip learns of the pointer from the window's messages.
    RECT field{};
    GetWindowRect(controlOf(window, "TextNumPers"), &field);
    SetCursorPos(field.left + 4, field.top + 3);
    SetCursorPos(field.left + 6, field.top + 4);
    check(waitFor([&] { return IsWindowVisible(tips) != FALSE; }, 3000),
          "resting on a field shows its tool-tip");
    const COLORREF tipBackground = drawnOf(tips).background;
    check(tipBackground == GetSysColor(COLOR_INFOBK),
          "on the tool-tips' colour (" + hexOf(tipBackground) + ")");
}

// Labels and enabled fields take the pointer's moves themselves, so moving
// over them is no move over the window's background; a click on a label
// does nothing.
void checkLabelsAndFields(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    for (const expected::Control &design : expected::kControls) {
        if (design.kind == expected::Kind::Button) {
            continue;
        }
        HWND control = controlOf(window, design.name);
        RECT rect{};
        GetWindowRect(control, &rect);
        const LRESULT hit =
            SendMessageW(control, WM_NCHITTEST, 0, MAKELPARAM(rect.left + 2, rect.top + 2));
        check(hit != HTTRANSPARENT, std::string(design.name) + " takes the pointer itself");
    }
    const std::string caption = textOf(window);
    for (const expected::Control &design : expected::kControls) {
        if (design.kind == expected::Kind::Label) {
            HWND label = controlOf(window, design.name);
            SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        }
    }
    Sleep(200);
    bool unchanged = textOf(window) == caption;
    for (const char *field : {"TextNumPers", "TextMoneyPers", "TextBaseCost"}) {
        unchanged = unchanged && IsWindowEnabled(controlOf(window, field));
    }
    check(unchanged && textOf(controlOf(window, "TextNumPers")) == "1" &&
              textOf(controlOf(window, "TextMoneyPers")) == "50",
          "clicks on the labels change nothing");
}

// A field without a number is tinted light red once "Start" refuses it.
void checkFieldMark(HWND window) {
    HWND persons = controlOf(window, "TextNumPers");
    // Read off the screen, with the window opaque under the pointer.
    auto backgroundOf = [](HWND field) {
        RECT rect{};
        GetWindowRect(field, &rect);
        HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, rect.right - 5, (rect.top + rect.bottom) / 2);
        ReleaseDC(nullptr, screen);
        return colour;
    };
    opaqueUnderThePointer(window);
    SendMessageW(persons, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    click(window, "BtnStart");
    UpdateWindow(persons);
    const bool marked = waitFor([&] { return backgroundOf(persons) == RGB(255, 200, 200); }, 2000);
    char seen[16];
    std::snprintf(seen, sizeof seen, "%06lx", static_cast<unsigned long>(backgroundOf(persons)));
    check(marked,
          std::string("a persons field without a number is tinted light red (") + seen + ")");
    check(IsWindowEnabled(controlOf(window, "TextBaseCost")), "the meter did not start on it");
    // The mark stays on that field alone, look after look.
    bool held = true;
    std::string others;
    for (int look = 0; look < 10; ++look, Sleep(50)) {
        held = held && backgroundOf(persons) == RGB(255, 200, 200);
        for (const char *other : {"TextMoneyPers", "TextBaseCost"}) {
            const COLORREF background = drawnOf(controlOf(window, other)).background;
            held = held && background == GetSysColor(COLOR_WINDOW);
            others += " " + hexOf(background);
        }
    }
    check(held,
          "for half a second the mark stays, and the other fields keep the window's "
          "colour (" +
              others.substr(0, 15) + ")");
    const Drawn drawn = drawnOf(persons);
    check(drawn.ink == GetSysColor(COLOR_WINDOWTEXT) && !drawn.shows(GetSysColor(COLOR_WINDOW)),
          "its text stands on the tint, in no band of the window colour (" + hexOf(drawn.ink) +
              " on " + hexOf(drawn.background) + ")");
    SendMessageW(persons, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
}

// Each control's colours on the screen, with the meter run and stopped: the
// amount and the time red, the labels and fields in the system's colours,
// the base cost greyed out on the window's colour once counted.
void checkColours(HWND window) {
    opaqueUnderThePointer(window);
    const COLORREF red = RGB(expected::kRed[0], expected::kRed[1], expected::kRed[2]);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Row {
        const char *name;
        COLORREF ink;
        COLORREF background;
        const char *what;
    };
    const Row rows[] = {
        {"LblPrice", red, face, "is red on the window's colour"},
        {"LblTime", red, face, "is red on the window's colour"},
        {"Label1", GetSysColor(COLOR_BTNTEXT), face, "has the button text's colour"},
        {"TextMoneyPers", GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW),
         "has the window text's colours"},
        {"TextBaseCost", GetSysColor(COLOR_GRAYTEXT), face, "is greyed out on the window's colour"},
    };
    for (const Row &row : rows) {
        checkDrawn(window, row.name, row.background, row.ink, row.what);
    }
}

void checkSpoken(HWND window) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (const expected::Spoken &spoken : expected::kSpoken) {
        if (spoken.captions[0] == '\0') {
            continue;
        }
        HWND field = controlOf(window, spoken.captions);
        check(GetWindow(field, GW_HWNDPREV) == controlOf(window, spoken.name),
              std::string(spoken.name) + " stands just before " + spoken.captions +
                  " in the z-order");
        // Wine's Active Accessibility follows Windows' rule for edit fields.
        IAccessible *accessible = nullptr;
        std::string name = "none";
        if (SUCCEEDED(AccessibleObjectFromWindow(field, static_cast<DWORD>(OBJID_CLIENT),
                                                 IID_IAccessible,
                                                 reinterpret_cast<void **>(&accessible)))) {
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR text = nullptr;
            if (SUCCEEDED(accessible->get_accName(self, &text)) && text != nullptr) {
                name = toUtf8(text);
                SysFreeString(text);
            }
            accessible->Release();
        }
        check(name == spoken.spokenName,
              std::string(spoken.captions) + " is named \"" + name + "\" for a screen reader");
    }
}
