#include "ui/win32/frm_tallaro_win32.h"

#include <commctrl.h>

#include <utility>

#include "meter/meter_model.h"
#include "presence/window_opacity.h"
#include "ui/control_table.h"
#include "ui/win32/win32_text.h"

using namespace tallaro::ui;

namespace {

constexpr wchar_t kClassName[] = L"FrmTallaro";
constexpr int kFirstControlId = 100;
constexpr COLORREF kMarkColour = RGB(255, 200, 200);
constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT kTopmostFlags = 0x53;  // SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

// The table's index of each field (by Field), and of the two display labels.
constexpr std::array<std::size_t, 3> kFieldIndex = {
    controlIndex("TextNumPers"), controlIndex("TextMoneyPers"), controlIndex("TextBaseCost")};
constexpr std::size_t kLblPrice = controlIndex("LblPrice");
constexpr std::size_t kLblTime = controlIndex("LblTime");

int scaled(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

UINT screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

HFONT createFont(const FontSpec &design, UINT dpi) {
    const int height = -static_cast<int>(design.pointSize * dpi / 72.0 + 0.5);
    const std::wstring face = toWide(design.family);
    return CreateFontW(height, 0, 0, 0, design.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, face.c_str());
}

const wchar_t *windowClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::InputField:
            return L"EDIT";
        case ControlKind::Button:
            return L"BUTTON";
        case ControlKind::Label:
            break;
    }
    return L"STATIC";
}

DWORD styleOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::InputField:
            return WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
        case ControlKind::Button:
            return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
        case ControlKind::Label:
            break;
    }
    // SS_NOTIFY: a label takes the pointer's moves itself instead of passing
    // them on to the window; it never takes the focus.
    return WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOTIFY;
}

}  // namespace

FrmTallaroWin32::FrmTallaroWin32(tallaro::NumberLocale locale) : m_form(*this, std::move(locale)) {}

FrmTallaroWin32::~FrmTallaroWin32() {
    for (HFONT font : m_fonts) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
    if (m_markBrush != nullptr) {
        DeleteObject(m_markBrush);
    }
}

bool FrmTallaroWin32::create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"IDI_ICON1");
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0) {
        return false;
    }
    m_markBrush = CreateSolidBrush(kMarkColour);
    m_dpi = screenDpi();
    const std::wstring caption = toWide(kWindow.caption);
    CreateWindowExW(kExStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (m_hwnd == nullptr) {
        return false;
    }
    createControls();
    layOut(m_dpi);

    // The client area at its design position when it fits in the work area.
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT client{scaled(kWindow.designLeft, m_dpi), scaled(kWindow.designTop, m_dpi), 0, 0};
    client.right = client.left + scaled(kWindow.clientWidth, m_dpi);
    client.bottom = client.top + scaled(kWindow.clientHeight, m_dpi);
    RECT outer = client;
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    int left = outer.left;
    int top = outer.top;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    if (outer.left < workArea.left || outer.top < workArea.top || outer.right > workArea.right ||
        outer.bottom > workArea.bottom) {
        left = (workArea.left + workArea.right - width) / 2;
        top = (workArea.top + workArea.bottom - height) / 2;
    }
    SetWindowPos(m_hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void FrmTallaroWin32::createControls() {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
    // Created in the table's order, which is the tab order.
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlSpec &design = kControls[i];
        const std::wstring text = toWide(design.text);
        m_controls[i] = CreateWindowExW(
            design.kind == ControlKind::InputField ? WS_EX_CLIENTEDGE : 0,
            windowClassOf(design.kind), text.c_str(), styleOf(design.kind), 0, 0, 0, 0, m_hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(i))),
            instance, nullptr);
    }
}

void FrmTallaroWin32::createToolTips() {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd,
                                nullptr, instance, nullptr);
    if (m_toolTip == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].toolTip.empty()) {
            continue;
        }
        std::wstring tip = toWide(kControls[i].toolTip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(control(i));
        tool.lpszText = tip.data();
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void FrmTallaroWin32::layOut(UINT dpi) {
    m_dpi = dpi;
    for (std::size_t role = 0; role < m_fonts.size(); ++role) {
        if (m_fonts[role] != nullptr) {
            DeleteObject(m_fonts[role]);
        }
        m_fonts[role] = createFont(fontSpec(static_cast<FontRole>(role)), dpi);
    }
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlSpec &design = kControls[i];
        MoveWindow(control(i), scaled(design.left, dpi), scaled(design.top, dpi),
                   scaled(design.width, dpi), scaled(design.height, dpi), FALSE);
        SendMessageW(control(i), WM_SETFONT,
                     reinterpret_cast<WPARAM>(m_fonts[static_cast<std::size_t>(design.font)]),
                     FALSE);
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

int FrmTallaroWin32::run() {
    m_form.Form_Load();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager walks the tab order and presses buttons on Space.
        if (!IsDialogMessageW(m_hwnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK FrmTallaroWin32::windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
        auto *self = static_cast<FrmTallaroWin32 *>(create->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<FrmTallaroWin32 *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self != nullptr ? self->handleMessage(message, wParam, lParam)
                           : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT FrmTallaroWin32::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const auto index = static_cast<std::size_t>(LOWORD(wParam) - kFirstControlId);
            if (HIWORD(wParam) == BN_CLICKED && index < kControls.size()) {
                if (const FormHandler handler = clickHandlerOf(kControls[index].name)) {
                    (m_form.*handler)();
                    return 0;
                }
            }
            break;
        }
        case WM_TIMER:
            switch (static_cast<Timer>(wParam - 1)) {
                case Timer::Meter:
                    m_form.Timer1_Timer();
                    return 0;
                case Timer::Poll:
                    m_form.Timer2_Timer();
                    return 0;
                case Timer::FadePause:
                    m_form.FadePause_Timer();
                    return 0;
            }
            break;
        case WM_MOUSEMOVE:
            m_form.Form_MouseMove();
            return 0;
        case WM_CTLCOLORSTATIC: {
            auto *dc = reinterpret_cast<HDC>(wParam);
            const auto from = reinterpret_cast<HWND>(lParam);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            const bool red = from == control(kLblPrice) || from == control(kLblTime);
            SetTextColor(dc, red ? RGB(255, 0, 0) : GetSysColor(COLOR_BTNTEXT));
            if (from == field(Field::BaseCost)) {
                SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));  // disabled
            }
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CTLCOLOREDIT: {
            const auto from = reinterpret_cast<HWND>(lParam);
            for (std::size_t i = 0; i < kFieldIndex.size(); ++i) {
                if (from == control(kFieldIndex[i]) && m_marked[i]) {
                    SetBkColor(reinterpret_cast<HDC>(wParam), kMarkColour);
                    return reinterpret_cast<LRESULT>(m_markBrush);
                }
            }
            break;
        }
        case kWmDpiChanged: {
            layOut(LOWORD(wParam));
            const auto *suggested = reinterpret_cast<const RECT *>(lParam);
            SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

HWND FrmTallaroWin32::field(Field which) const {
    return control(kFieldIndex[static_cast<std::size_t>(which)]);
}

std::string FrmTallaroWin32::fieldText(Field which) const {
    return windowText(field(which));
}

void FrmTallaroWin32::setFieldText(Field which, std::string_view text) {
    SetWindowTextW(field(which), toWide(text).c_str());
}

void FrmTallaroWin32::setFieldMarked(Field which, bool marked) {
    m_marked[static_cast<std::size_t>(which)] = marked;
    InvalidateRect(field(which), nullptr, TRUE);
}

void FrmTallaroWin32::setBaseCostEnabled(bool enabled) {
    EnableWindow(field(Field::BaseCost), enabled ? TRUE : FALSE);
}

void FrmTallaroWin32::showDisplay(const tallaro::MeterDisplay &display) {
    SetWindowTextW(control(kLblPrice), toWide(display.amount).c_str());
    SetWindowTextW(m_hwnd, toWide(display.caption).c_str());
    SetWindowTextW(control(kLblTime), toWide(display.time).c_str());
}

void FrmTallaroWin32::switchTimerOn(Timer which, int intervalMs) {
    // Setting a running timer again starts its count afresh.
    SetTimer(m_hwnd, static_cast<UINT_PTR>(which) + 1, static_cast<UINT>(intervalMs), nullptr);
}

void FrmTallaroWin32::switchTimerOff(Timer which) {
    KillTimer(m_hwnd, static_cast<UINT_PTR>(which) + 1);
}

void FrmTallaroWin32::SetTrans(std::int16_t Trans) {
    if (!tallaro::isOpacityLevel(Trans)) {
        return;
    }
    const LONG style = GetWindowLongA(m_hwnd, GWL_EXSTYLE);
    SetWindowLongA(m_hwnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(m_hwnd, 0, static_cast<BYTE>(Trans), LWA_ALPHA);
}

void FrmTallaroWin32::placeTopmost() {
    SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
    // The tool-tips come once the window stands in the topmost band: an
    // owned topmost pop-up that is already there can keep the band from its
    // owner (so under Wine).
    if (m_toolTip == nullptr) {
        createToolTips();
    }
}

void FrmTallaroWin32::showWindow() {
    ShowWindow(m_hwnd, SW_SHOW);
}

void FrmTallaroWin32::repaintWindow() {
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool FrmTallaroWin32::pointerInside() const {
    POINT point{};
    RECT outer{};
    GetCursorPos(&point);
    GetWindowRect(m_hwnd, &outer);
    return PtInRect(&outer, point) != FALSE;
}
