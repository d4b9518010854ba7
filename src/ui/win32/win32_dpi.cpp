#include "ui/win32/win32_dpi.h"

namespace {

// Looks up a function by name, for Windows versions that have it.
template <class Function>
Function systemFunction(const wchar_t *module, const char *name) {
    HMODULE library = GetModuleHandleW(module);
    if (library == nullptr) {
        library = LoadLibraryW(module);
    }
    return library != nullptr ? reinterpret_cast<Function>(
                                    reinterpret_cast<void (*)()>(GetProcAddress(library, name)))
                              : nullptr;
}

}  // namespace

UINT systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT monitorDpiAt(POINT point) {
    static const auto getDpiForMonitor =
        systemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    return monitorDpiAt(point, getDpiForMonitor);
}

UINT monitorDpiAt(POINT point, GetDpiForMonitorFn getDpiForMonitor) {
    if (getDpiForMonitor != nullptr) {
        constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
        UINT dpiX = 0;
        UINT dpiY = 0;
        if (SUCCEEDED(getDpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST),
                                       kEffectiveDpi, &dpiX, &dpiY)) &&
            dpiY > 0) {
            return dpiY;
        }
    }
    return systemDpi();
}

void adjustWindowRectForDpi(RECT &rect, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi =
        systemFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}
