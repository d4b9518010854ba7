// The native Windows program: one window, open until the user closes it.
#include <windows.h>

#include <commctrl.h>

#include "numtext/number_locale.h"
#include "ui/win32/frm_tallaro_win32.h"
#include "ui/win32/win32_text.h"

namespace {

std::string localeInfo(LCTYPE type) {
    wchar_t buffer[16] = {};
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
    return toUtf8(std::wstring_view(buffer, length > 1 ? static_cast<std::size_t>(length - 1) : 0));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The user's separators, read once.
    FrmTallaroWin32 window({localeInfo(LOCALE_SDECIMAL), localeInfo(LOCALE_STHOUSAND)});
    if (!window.create(instance)) {
        return 1;
    }
    return window.run();
}
