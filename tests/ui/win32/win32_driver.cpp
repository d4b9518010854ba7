// Drives the native Windows program from outside, through the Win32 API
// only, as another program or a screen reader would: it starts tallaro.exe,
// finds its window and checks its controls, tab order, meter, step buttons,
// window styles and layered alpha; then it reads the executable's version
// resource and its imports. Prints one line per check and exits non-zero
// when any fails. Usage: tallaro_driver PATH-TO-tallaro.exe
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/expected_design.h"
#include "ui/win32/win32_text.h"

namespace expected = tallaro::expected;

namespace {

int g_passed = 0;
int g_failures = 0;

void check(bool ok, const std::string &what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    ++(ok ? g_passed : g_failures);
}

// Waits up to a time for a condition, looking every 50 ms.
template <class Condition>
bool waitFor(Condition condition, DWORD milliseconds) {
    for (DWORD waited = 0; waited <= milliseconds; waited += 50) {
        if (condition()) {
            return true;
        }
        Sleep(50);
    }
    return condition();
}

// A control by its name: the window numbers its controls from 100 on, in
// the design's order.
HWND controlOf(HWND window, const char *name) {
    for (std::size_t i = 0; i < expected::kControls.size(); ++i) {
        if (std::strcmp(expected::kControls[i].name, name) == 0) {
            return GetDlgItem(window, 100 + static_cast<int>(i));
        }
    }
    return nullptr;
}

// A control's text as another process reads it: WM_GETTEXT, which the
// system carries across processes (GetWindowText does not, for edit fields).
std::string textOf(HWND window) {
    wchar_t buffer[256] = {};
    const auto length = SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
    return toUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length)));
}

BYTE alphaOf(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags)) {
        return 0;
    }
    return alpha;
}

void click(HWND window, const char *name) {
    SendMessageW(controlOf(window, name), BM_CLICK, 0, 0);
}

// The DPI of the monitor the window stands on, as Windows reports it (the
// system's where Windows knows none per monitor).
UINT monitorDpiOf(HWND window) {
    using GetDpiForMonitorFn = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    const auto getDpi = shcore != nullptr
                            ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void (*)()>(
                                  GetProcAddress(shcore, "GetDpiForMonitor")))
                            : nullptr;
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (getDpi != nullptr &&
        SUCCEEDED(getDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &dpiX, &dpiY))) {
        return dpiY;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void checkControls(HWND window) {
    const UINT dpi = monitorDpiOf(window);
    RECT client{};
    GetClientRect(window, &client);
    check(client.right == MulDiv(expected::kClientWidth, static_cast<int>(dpi), 1440) &&
              client.bottom == MulDiv(expected::kClientHeight, static_cast<int>(dpi), 1440),
          "the client area has its design size at the monitor's " + std::to_string(dpi) + " dpi");
    for (const expected::Control &design : expected::kControls) {
        const std::string name(design.name);
        HWND control = controlOf(window, design.name);
        check(control != nullptr, name + " exists");
        if (control == nullptr) {
            continue;
        }
        check(textOf(control) == design.text,
              name + " reads \"" + design.text + "\" (reads \"" + textOf(control) + "\")");
        wchar_t className[32] = {};
        GetClassNameW(control, className, 32);
        const wchar_t *kind = design.kind == expected::Kind::Field    ? L"Edit"
                              : design.kind == expected::Kind::Button ? L"Button"
                                                                      : L"Static";
        check(lstrcmpiW(className, kind) == 0, name + " is a " + toUtf8(kind));
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT *>(&rect), 2);
        const RECT designed{MulDiv(design.left, static_cast<int>(dpi), 1440),
                            MulDiv(design.top, static_cast<int>(dpi), 1440),
                            MulDiv(design.left + design.width, static_cast<int>(dpi), 1440),
                            MulDiv(design.top + design.height, static_cast<int>(dpi), 1440)};
        check(EqualRect(&rect, &designed) != FALSE, name + " stands at its design place");
    }
}

void checkTabOrder(HWND window) {
    std::vector<const char *> order;
    for (const expected::Control &design : expected::kControls) {
        if (design.kind != expected::Kind::Label) {
            order.push_back(design.name);
        }
    }
    HWND at = controlOf(window, order.front());
    std::string visited;
    bool ok = true;
    for (std::size_t i = 1; i <= order.size(); ++i) {
        const char *next = order[i % order.size()];
        at = GetNextDlgTabItem(window, at, FALSE);
        ok = ok && at == controlOf(window, next);
        visited += std::string(" ") + next;
    }
    check(ok, std::string("tab order from ") + order.front() + ":" + visited);
}

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

void checkMeterAndSteppers(HWND window) {
    click(window, "BtnNumPersP");
    check(textOf(controlOf(window, "TextNumPers")) == "2", "\"+\" steps persons to 2");
    click(window, "BtnNumPersM");
    check(textOf(controlOf(window, "TextNumPers")) == "1", "\"-\" steps persons back to 1");
    click(window, "BtnMoneyPersM");
    check(textOf(controlOf(window, "TextMoneyPers")) == "49", "\"-\" steps salary to 49");
    click(window, "BtnMoneyPersP");

    click(window, "BtnStart");
    check(!IsWindowEnabled(controlOf(window, "TextBaseCost")), "Start disables the base cost");
    const bool ticked = waitFor([&] { return textOf(window) == "100,01 - Tallaro"; }, 3000);
    check(ticked,
          "the first tick writes the caption \"100,01 - Tallaro\" (" + textOf(window) + ")");
    check(textOf(controlOf(window, "LblTime")) == "00:00:01", "the time label reads 00:00:01");
    waitFor([&] { return textOf(window) == "100,03 - Tallaro"; }, 3000);
    click(window, "BtnStop");
    const std::string stopped = textOf(window);
    Sleep(1500);
    check(textOf(window) == stopped && stopped == "100,03 - Tallaro",
          "Stop halts the meter at " + stopped);
    click(window, "BtnStart");
    const bool resumed = waitFor([&] { return textOf(window) == "100,04 - Tallaro"; }, 3000);
    check(resumed, "Start resumes it (" + textOf(window) + ")");
    click(window, "BtnStop");
}

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
    reached = waitFor([&] { return alphaOf(window) == 50; }, 5000);
    check(reached, "faint (alpha 50) with the pointer away: " + std::to_string(alphaOf(window)));
    SetCursorPos(outer.left + 5, outer.top + 5);
    reached = waitFor([&] { return alphaOf(window) == 255; }, 5000);
    check(reached, "opaque with the pointer over the frame: " + std::to_string(alphaOf(window)));
    SetCursorPos(outer.right, outer.bottom);  // the corner itself is outside
    reached = waitFor([&] { return alphaOf(window) == 50; }, 5000);
    check(reached, "faint again with the pointer on the bottom right corner: " +
                       std::to_string(alphaOf(window)));
}

void checkVersion(const wchar_t *path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, data.data())) {
        check(false, "the executable carries a version resource");
        return;
    }
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&fixed), &length);
    constexpr DWORD kMs = (TALLARO_VERSION_MAJOR << 16) | TALLARO_VERSION_MINOR;
    constexpr DWORD kLs = (TALLARO_VERSION_PATCH << 16) | TALLARO_VERSION_TWEAK;
    check(fixed != nullptr && fixed->dwFileVersionMS == kMs && fixed->dwFileVersionLS == kLs &&
              fixed->dwProductVersionMS == kMs && fixed->dwProductVersionLS == kLs,
          "file and product version " TALLARO_VERSION);
    WORD *translation = nullptr;
    VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                   reinterpret_cast<void **>(&translation), &length);
    check(translation != nullptr && translation[0] == 0x0407 && translation[1] == 1252,
          "language German (Germany), code page 1252");
    wchar_t *text = nullptr;
    VerQueryValueW(data.data(), L"\\StringFileInfo\\040704E4\\ProductVersion",
                   reinterpret_cast<void **>(&text), &length);
    check(text != nullptr && toUtf8(text) == TALLARO_VERSION_TEXT,
          "version text \"" TALLARO_VERSION_TEXT "\"");
}

// The names of the DLLs an executable imports, read from its PE headers.
std::vector<std::string> importsOf(const wchar_t *path, WORD &machine, WORD &subsystem) {
    std::vector<std::string> names;
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return names;
    }
    std::vector<unsigned char> image(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr);
    CloseHandle(file);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(image.data());
    // The program is built for the driver's own width.
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(image.data() + dos->e_lfanew);
    machine = nt->FileHeader.Machine;
    subsystem = nt->OptionalHeader.Subsystem;
    const auto *sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> DWORD {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const auto &section = sections[i];
            if (rva >= section.VirtualAddress &&
                rva < section.VirtualAddress + section.Misc.VirtualSize) {
                return rva - section.VirtualAddress + section.PointerToRawData;
            }
        }
        return 0;
    };
    const DWORD importRva =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto *entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(image.data() + offsetOf(importRva));
         entry->Name != 0; ++entry) {
        names.emplace_back(reinterpret_cast<const char *>(image.data() + offsetOf(entry->Name)));
    }
    return names;
}

void checkImage(const wchar_t *path) {
    WORD machine = 0;
    WORD subsystem = 0;
    const std::vector<std::string> imports = importsOf(path, machine, subsystem);
    check(machine == (sizeof(void *) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64),
          sizeof(void *) == 4 ? "a 32-bit x86 executable" : "a 64-bit x86 executable");
    check(subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI, "a Windows GUI executable");
    const std::set<std::string> system = {"ADVAPI32.DLL", "COMCTL32.DLL", "GDI32.DLL",
                                          "KERNEL32.DLL", "MSVCRT.DLL",   "USER32.DLL"};
    std::string list;
    bool onlySystem = !imports.empty();
    for (std::string name : imports) {
        for (char &c : name) {
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
        onlySystem = onlySystem && system.count(name) == 1;
        list += " " + name;
    }
    check(onlySystem, "imports only DLLs that come with Windows:" + list);
}

}  // namespace

int wmain(int argc, wchar_t *argv[]) {
    if (argc != 2) {
        std::fputs("usage: tallaro_driver PATH-TO-tallaro.exe\n", stderr);
        return 2;
    }
    const wchar_t *program = argv[1];
    checkImage(program);
    checkVersion(program);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = std::wstring(L"\"") + program + L"\"";
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        check(false, "tallaro.exe starts");
        return 1;
    }
    WaitForInputIdle(process.hProcess, 10000);
    HWND window = nullptr;
    waitFor(
        [&] {
            window = FindWindowW(L"FrmTallaro", L"Tallaro");
            return window != nullptr && IsWindowVisible(window);
        },
        10000);
    check(window != nullptr && IsWindowVisible(window), "the window \"Tallaro\" opens");
    if (window != nullptr) {
        checkControls(window);
        checkTabOrder(window);
        checkToolTips(window, process.hProcess);
        checkLabelsAndFields(window);
        checkPresence(window);
        checkFieldMark(window);
        checkMeterAndSteppers(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    check(ended && status == 0, "closing the window ends the program with status 0");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("driver: %d passed, %d failed\n", g_passed, g_failures);
    return g_failures == 0 ? 0 : 1;
}
