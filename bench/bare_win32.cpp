// Bare Win32 windows, the yardsticks the Windows program is measured against
// (scripts/figures.sh): one window of the program's size with a label, and
//   no option     no timer at all;
//   --poll        an empty 50 ms timer;
//   --caption     a 1 s timer that writes the caption and the label anew.
#include <windows.h>

#include <cwchar>

namespace {

enum class Mode { None, Poll, Caption };

Mode g_mode = Mode::None;
HWND g_label = nullptr;
int g_seconds = 0;

constexpr UINT_PTR kTick = 1, kPoll = 2;

void onTimer(HWND window, UINT_PTR id) {
    if (id == kTick) {
        wchar_t text[32];
        ++g_seconds;
        std::swprintf(text, 32, L"%d,00 - Bare", g_seconds);
        SetWindowTextW(window, text);
        SetWindowTextW(g_label, text);
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            onTimer(window, wParam);
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
