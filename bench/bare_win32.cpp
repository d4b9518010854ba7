// Bare Win32 windows, the yardsticks the Windows program is measured against
// (scripts/figures.sh): one window of the program's size with two labels, and
//   no option     no timer at all;
//   --poll        an empty 50 ms timer;
//   --caption     a 1 s timer that writes the caption, the label and a time
//                 label anew, as the running meter does;
//   --fade        a layered window, faint, that fades in while the pointer is
//                 over it and out when it leaves: a level every 10 ms (a 1 ms
//                 system tick asked for meanwhile), the window marked for
//                 painting after each, 45 to 255 in and 255 to 50 out by 5.
#include <windows.h>

#include <timeapi.h>

#include <algorithm>
#include <cwchar>

namespace {

enum class Mode { None, Poll, Caption, Fade };

Mode g_mode = Mode::None;
HWND g_label = nullptr;
HWND g_time = nullptr;
int g_seconds = 0;

constexpr UINT_PTR kTick = 1, kPoll = 2, kFade = 3;

int g_level = 50;
int g_step = 0;  // +5 fading in, -5 fading out, 0 at rest

void setLevel(HWND window, int level) {
    g_level = level;
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(level), LWA_ALPHA);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void fadeTowards(HWND window, int step) {
    if (g_step == 0) {
        timeBeginPeriod(1);
        SetTimer(window, kFade, 10, nullptr);
    }
    g_step = step;
    setLevel(window, step > 0 ? std::max(g_level, 45) : std::min(g_level, 255));
}

void fadeOn(HWND window) {
    const int level = g_level + g_step;
    if (level > 255 || level < 50) {
        KillTimer(window, kFade);
        timeEndPeriod(1);
        g_step = 0;
        return;
    }
    setLevel(window, level);
}

void onTimer(HWND window, UINT_PTR id) {
    if (id == kFade) {
        fadeOn(window);
    }
    if (id == kTick) {
        wchar_t text[32];
        ++g_seconds;
        std::swprintf(text, 32, L"%d,00 - Bare", g_seconds);
        SetWindowTextW(window, text);
        SetWindowTextW(g_label, text);
        std::swprintf(text, 32, L"00:%02d:%02d", g_seconds / 60 % 60, g_seconds % 60);
        SetWindowTextW(g_time, text);
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            onTimer(window, wParam);
            return 0;
        case WM_MOUSEMOVE:
            if (g_mode == Mode::Fade && g_step <= 0 && g_level < 255) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
                TrackMouseEvent(&track);
                fadeTowards(window, 5);
            }
            return 0;
        case WM_MOUSELEAVE:
            if (g_mode == Mode::Fade) {
                fadeTowards(window, -5);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    if (std::wcsstr(commandLine, L"--poll") != nullptr) {
        g_mode = Mode::Poll;
    } else if (std::wcsstr(commandLine, L"--caption") != nullptr) {
        g_mode = Mode::Caption;
    } else if (std::wcsstr(commandLine, L"--fade") != nullptr) {
        g_mode = Mode::Fade;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWin32";
    RegisterClassExW(&windowClass);
    HWND window =
        CreateWindowExW(WS_EX_TOOLWINDOW, L"BareWin32", L"Bare", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        100, 100, 223, 133, nullptr, nullptr, instance, nullptr);
    g_label = CreateWindowExW(0, L"STATIC", L"0,00", WS_CHILD | WS_VISIBLE, 4, 72, 101, 29, window,
                              nullptr, instance, nullptr);
    g_time = CreateWindowExW(0, L"STATIC", L"00:00:00", WS_CHILD | WS_VISIBLE, 112, 72, 101, 29,
                             window, nullptr, instance, nullptr);
    if (g_mode == Mode::Fade) {
        SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        setLevel(window, g_level);
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (g_mode == Mode::Poll) {
        SetTimer(window, kPoll, 50, nullptr);
    } else if (g_mode == Mode::Caption) {
        SetTimer(window, kTick, 1000, nullptr);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
