// Drives the native Windows program from outside, through the Win32 API
// only, as another program or a screen reader would: it starts tallaro.exe,
// finds its window and checks its controls, tab order, meter, step buttons,
// window styles and layered alpha, after reading the executable's version
// resource and its imports (driver_image.cpp). Prints one line per check and
// exits non-zero when any fails. Usage: tallaro_driver PATH-TO-tallaro.exe
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ui/expected_design.h"
#include "ui/win32/driver_checks.h"
#include "ui/win32/win32_text.h"

namespace expected = tallaro::expected;

namespace {

int g_passed = 0;
int g_failures = 0;

}  // namespace

void check(bool ok, const std::string &what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    ++(ok ? g_passed : g_failures);
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

namespace {

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

// The window opens with its client area at the design place where the
// whole window fits in the work area there, and in the middle of the work
// area where it does not (a taskbar or a panel keeps the rest). With
// X_WORKAREA set, the X server was given a work area smaller than the screen.
void checkPlacement(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    if (GetEnvironmentVariableW(L"X_WORKAREA", nullptr, 0) > 0) {
        check(EqualRect(&work, &monitor.rcMonitor) == FALSE,
              "the work area is smaller than the screen: " + std::to_string(work.right) + "x" +
                  std::to_string(work.bottom));
    }
    const int dpi = static_cast<int>(monitorDpiOf(window));
    RECT outer{};
    GetWindowRect(window, &outer);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const POINT design{MulDiv(expected::kDesignLeft, dpi, 1440),
                       MulDiv(expected::kDesignTop, dpi, 1440)};
    const RECT designed{design.x - (client.x - outer.left), design.y - (client.y - outer.top),
                        design.x - (client.x - outer.left) + (outer.right - outer.left),
                        design.y - (client.y - outer.top) + (outer.bottom - outer.top)};
    RECT within{};
    IntersectRect(&within, &designed, &work);
    const std::string at = std::to_string(outer.left) + " " + std::to_string(outer.top);
    if (EqualRect(&within, &designed) != FALSE) {
        check(client.x == design.x && client.y == design.y,
              "the window opens at its design place (" + at + ")");
    } else {
        const int left = (work.left + work.right - (outer.right - outer.left)) / 2;
        const int top = (work.top + work.bottom - (outer.bottom - outer.top)) / 2;
        check(std::abs(outer.left - left) <= 1 && std::abs(outer.top - top) <= 1,
              "where its design place leaves the work area, the window opens in its middle (" + at +
                  ")");
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
    checkColours(window);
    click(window, "BtnStart");
    const bool resumed = waitFor([&] { return textOf(window) == "100,04 - Tallaro"; }, 3000);
    check(resumed, "Start resumes it (" + textOf(window) + ")");
    click(window, "BtnStop");
}

}  // namespace

int wmain(int argc, wchar_t *argv[]) {
    if (argc != 2) {
        std::fputs("usage: tallaro_driver PATH-TO-tallaro.exe\n", stderr);
        return 2;
    }
    const wchar_t *program = argv[1];
    // Before the program starts, which reads them then.
    check(setDistinctSystemColours(), "the system colours are set apart from each other");
    checkImage(program);
    checkVersion(program);
    checkManifest(program);

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
        checkPlacement(window);
        checkControls(window);
        checkTabOrder(window);
        checkSpoken(window);
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
