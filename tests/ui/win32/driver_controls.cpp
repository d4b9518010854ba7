// The driver's checks of what a user meets on the window's controls: the
// tool-tips, the labels and fields under the pointer, and the mark of a
// field without a number.
#include <windows.h>

#include <commctrl.h>

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
    RECT outer{};
    GetWindowRect(window, &outer);
    SetCursorPos(outer.left + 20, outer.top + 10);
    waitFor([&] { return alphaOf(window) == 255; }, 5000);
    SendMessageW(persons, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    click(window, "BtnStart");
    UpdateWindow(persons);
    const bool marked = waitFor([&] { return backgroundOf(persons) == RGB(255, 200, 200); }, 2000);
    char seen[16];
    std::snprintf(seen, sizeof seen, "%06lx", static_cast<unsigned long>(backgroundOf(persons)));
    check(marked,
          std::string("a persons field without a number is tinted light red (") + seen + ")");
    check(IsWindowEnabled(controlOf(window, "TextBaseCost")), "the meter did not start on it");
    SendMessageW(persons, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
}
