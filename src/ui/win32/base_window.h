// base_window.h
// A window class whose messages go to a C++ object: the object is stored
// with its window when the window is created, and the window procedure
// hands every message to the object's handleMessage.
#pragma once

#include <windows.h>

template <class Derived>
class BaseWindow {
public:
    HWND hwnd() const { return m_hwnd; }

protected:
    // Registers the window class, its procedure being this one's; a class
    // registered by an earlier window of the process serves again.
    static bool registerClass(WNDCLASSEXW windowClass) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    // Creates the window, hidden; handleMessage receives its messages from
    // WM_NCCREATE on.
    bool createWindow(HINSTANCE instance, const wchar_t *className, const wchar_t *caption,
                      DWORD style, DWORD exStyle) {
        CreateWindowExW(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                        static_cast<Derived *>(this));
        return m_hwnd != nullptr;
    }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived *self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Derived *>(
                reinterpret_cast<const CREATESTRUCTW *>(lParam)->lpCreateParams);
            static_cast<BaseWindow *>(self)->m_hwnd = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        return self != nullptr ? self->handleMessage(message, wParam, lParam)
                               : DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND m_hwnd = nullptr;
};
