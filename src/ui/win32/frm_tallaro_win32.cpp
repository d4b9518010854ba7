#include "ui/win32/frm_tallaro_win32.h"

#include <utility>

#include "meter/meter_model.h"
#include "presence/window_opacity.h"
#include "ui/win32/win32_dpi.h"
#include "ui/win32/win32_text.h"
#include "ui/window_design.h"

using namespace tallaro::ui;

namespace {

constexpr wchar_t kClassName[] = L"FrmTallaro";
constexpr COLORREF kMarkColour = RGB(255, 200, 200);
constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT kTopmostFlags = 0x53;  // SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

}  // namespace

FrmTallaroWin32::FrmTallaroWin32(tallaro::NumberLocale locale, std::unique_ptr<SpokenTexts> spoken,
                                 HighContrastReader highContrast)
    : m_readContrast(highContrast),
      m_spoken(spoken != nullptr ? std::move(spoken) : std::make_unique<Win32SpokenTexts>()),
      m_form(*this, std::move(locale)) {}

FrmTallaroWin32::~FrmTallaroWin32() {
    if (m_markBrush != nullptr) {
        DeleteObject(m_markBrush);
    }
}

bool FrmTallaroWin32::create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"IDI_ICON1");
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    const std::wstring caption = toWide(kWindow.caption);
    if (!registerClass(windowClass) ||
        !createWindow(instance, kClassName, caption.c_str(), kStyle, kExStyle)) {
        return false;
    }
    m_timers.attach(hwnd());
    m_markBrush = CreateSolidBrush(kMarkColour);
    m_controls.create(hwnd());
    m_controls.speak(*m_spoken);
    m_highContrast = m_readContrast();
    placeOnScreen();
    return true;
}

void FrmTallaroWin32::placeOnScreen() {
    // The monitor under the design position decides the DPI, and with it
    // the design position itself.
    const UINT system = systemDpi();
    m_dpi = monitorDpiAt({scaled(kWindow.designLeft, system), scaled(kWindow.designTop, system)});
    m_controls.layOut(m_dpi);
    RECT outer{scaled(kWindow.designLeft, m_dpi), scaled(kWindow.designTop, m_dpi),
               scaled(kWindow.designLeft + kWindow.clientWidth, m_dpi),
               scaled(kWindow.designTop + kWindow.clientHeight, m_dpi)};
    adjustWindowRectForDpi(outer, kStyle, kExStyle, m_dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    const ScreenRect placed =
        placeInWorkArea({outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top},
                        {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(hwnd(), nullptr, placed.left, placed.top, placed.width, placed.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int FrmTallaroWin32::run() {
    m_form.Form_Load();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        m_controls.relayToToolTips(message);
        // A control takes the pointer's messages itself, and tells the window nothing.
        if (message.message == WM_MOUSEMOVE && message.hwnd != hwnd()) {
            crossed(m_crossings.forget());
        }
        // The dialog manager walks the tab order and presses buttons on Space.
        if (!IsDialogMessageW(hwnd(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

LRESULT FrmTallaroWin32::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return onCommand(wParam);
        case WM_TIMER:
            return onTimer(wParam);
        case WM_MOUSEMOVE:
            crossed(m_crossings.forget());
            m_form.Form_MouseMove();
            return 0;
        case WM_NCMOUSEMOVE:
            crossed(m_crossings.forget());
            return DefWindowProcW(hwnd(), message, wParam, lParam);
        case WM_WINDOWPOSCHANGED:
            // Shown or moved: the pointer may be over it now without a move.
            if ((reinterpret_cast<const WINDOWPOS *>(lParam)->flags & SWP_NOMOVE) == 0 ||
                (reinterpret_cast<const WINDOWPOS *>(lParam)->flags & SWP_SHOWWINDOW) != 0) {
                crossed(m_crossings.forget());
            }
            return DefWindowProcW(hwnd(), message, wParam, lParam);
        case WM_CAPTURECHANGED:
            crossed(m_crossings.forget());
            return 0;
        case WM_CTLCOLORSTATIC:
            return onLabelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLOREDIT:
            return onFieldColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case kWmDpiChanged:
            return onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        case WM_SYSCOLORCHANGE:
            // Windows tells only top-level windows; the controls learn it from theirs.
            m_controls.forward(message, wParam, lParam);
            followContrast();
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) {
                followContrast();
            }
            return DefWindowProcW(hwnd(), message, wParam, lParam);
        case WM_DESTROY:
            m_spoken->clear();
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd(), message, wParam, lParam);
    }
}

LRESULT FrmTallaroWin32::onCommand(WPARAM wParam) {
    const auto index = static_cast<std::size_t>(LOWORD(wParam) - Win32Controls::kFirstId);
    if (HIWORD(wParam) == BN_CLICKED && index < kControls.size()) {
        if (const FormHandler handler = clickHandlerOf(kControls[index].name)) {
            (m_form.*handler)();
        }
    }
    return 0;
}

LRESULT FrmTallaroWin32::onTimer(WPARAM wParam) {
    const std::optional<Timer> which = m_timers.fired(wParam);
    if (which == Timer::Meter) {
        m_form.Timer1_Timer();
    } else if (which == Timer::Poll) {
        m_form.Timer2_Timer();
    } else if (which == Timer::FadePause) {
        m_form.FadePause_Timer();
    }
    return 0;
}

// Labels, and the base-cost field once it is disabled, paint on the window's
// colour in their design colour.
LRESULT FrmTallaroWin32::onLabelColour(HDC dc, HWND label) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    const std::size_t index = m_controls.indexOf(label);
    if (label == m_controls.field(Field::BaseCost)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else if (index < kControls.size()) {
        SetTextColor(dc, textColourOf(kControls[index], m_highContrast));
    }
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT FrmTallaroWin32::onFieldColour(HDC dc, HWND field) {
    for (Field which : {Field::NumPers, Field::MoneyPers, Field::BaseCost}) {
        if (field == m_controls.field(which) && m_marked[static_cast<std::size_t>(which)]) {
            // The text as in any field: the DC comes with black.
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, kMarkColour);
            return reinterpret_cast<LRESULT>(m_markBrush);
        }
    }
    return DefWindowProcW(hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(field));
}

LRESULT FrmTallaroWin32::onDpiChanged(UINT dpi, const RECT &suggested) {
    m_dpi = dpi;
    m_controls.layOut(dpi);
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The controls too: a label keeps what it drew in the old font where
    // its new size still covers.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

void FrmTallaroWin32::followContrast() {
    m_highContrast = m_readContrast();
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

std::string FrmTallaroWin32::fieldText(Field which) const {
    return windowText(m_controls.field(which));
}

void FrmTallaroWin32::setFieldText(Field which, std::string_view text) {
    SetWindowTextW(m_controls.field(which), toWide(text).c_str());
}

void FrmTallaroWin32::setFieldMarked(Field which, bool marked) {
    m_marked[static_cast<std::size_t>(which)] = marked;
    InvalidateRect(m_controls.field(which), nullptr, TRUE);
}

void FrmTallaroWin32::setBaseCostEnabled(bool enabled) {
    EnableWindow(m_controls.field(Field::BaseCost), enabled ? TRUE : FALSE);
}

void FrmTallaroWin32::showDisplay(const tallaro::MeterDisplay &display) {
    SetWindowTextW(m_controls.at(kLblPrice), toWide(display.amount).c_str());
    SetWindowTextW(hwnd(), toWide(display.caption).c_str());
    SetWindowTextW(m_controls.at(kLblTime), toWide(display.time).c_str());
}

void FrmTallaroWin32::crossed(bool changed) {
    if (changed) {
        m_form.Form_PointerCrossed();
    }
}

void FrmTallaroWin32::switchTimerOn(Timer which, int intervalMs) {
    m_timers.on(which, intervalMs);
}

void FrmTallaroWin32::switchTimerOff(Timer which) {
    m_timers.off(which);
}

void FrmTallaroWin32::wakePollIn(int delayMs) {
    m_timers.once(Timer::Poll, delayMs);
}

void FrmTallaroWin32::SetTrans(std::int16_t Trans) {
    if (!tallaro::isOpacityLevel(Trans)) {
        return;
    }
    const LONG style = GetWindowLongA(hwnd(), GWL_EXSTYLE);
    SetWindowLongA(hwnd(), GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(Trans), LWA_ALPHA);
}

void FrmTallaroWin32::placeTopmost() {
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
    // The tool-tips come once the window stands in the topmost band: an
    // owned topmost pop-up that is already there can keep the band from its
    // owner (so under Wine).
    if (!m_controls.hasToolTips()) {
        m_controls.addToolTips(hwnd());
    }
}

void FrmTallaroWin32::showWindow() {
    ShowWindow(hwnd(), SW_SHOW);
}

// The whole window is marked for painting now, and painted as soon as the
// handler returns: Windows hands out paints before timers, so the repaint
// comes before the fade's next level, within its pause rather than added to
// it (under Wine a synchronous repaint of every control took about 5 ms).
void FrmTallaroWin32::repaintWindow() {
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool FrmTallaroWin32::pointerInside() const {
    if (const std::optional<bool> known = m_crossings.inside()) {
        return *known;
    }
    return m_crossings.query(hwnd());
}
