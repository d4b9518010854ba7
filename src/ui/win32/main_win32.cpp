// The native Windows program: one window, open until the user closes it.
#include <windows.h>

#include <commctrl.h>

#include "ui/win32/frm_tallaro_win32.h"
#include "ui/win32/win32_locale.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The user's separators, read once.
    FrmTallaroWin32 window(userNumberLocale());
    if (!window.create(instance)) {
        return 1;
    }
    return window.run();
}
