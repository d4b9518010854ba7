#include "ui/win32/win32_controls.h"

#include <commctrl.h>

#include <string>

#include "ui/win32/win32_dpi.h"
#include "ui/win32/win32_text.h"

using namespace tallaro::ui;

namespace {

HFONT createFont(const FontDesign &design, UINT dpi) {
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

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

}  // namespace

Win32Controls::~Win32Controls() {
    for (HFONT font : m_fonts) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

void Win32Controls::create(HWND parent) {
    auto createControl = [&](std::size_t i) {
        if (m_controls[i] != nullptr) {
            return;
        }
        const ControlDesign &design = kControls[i];
        const std::wstring text = toWide(design.text);
        m_controls[i] = CreateWindowExW(
            design.kind == ControlKind::InputField ? WS_EX_CLIENTEDGE : 0,
            windowClassOf(design.kind), text.c_str(), styleOf(design.kind), 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + static_cast<int>(i))),
            instanceOf(parent), nullptr);
    };
    // A new child goes to the bottom of the z-order: each caption is made
    // just before its field.
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        for (Field which : {Field::NumPers, Field::MoneyPers, Field::BaseCost}) {
            if (fieldControl(which) == i) {
                createControl(captionControl(which));
            }
        }
        createControl(i);
    }
}

void Win32Controls::speak(SpokenTexts &spoken) const {
    for (const SpokenDesign &design : kSpoken) {
        HWND control = at(controlIndex(design.control));
        if (!design.name.empty()) {
            spoken.annotate(control, SpokenProperty::Name, toWide(design.name));
        }
        if (!design.description.empty()) {
            spoken.annotate(control, SpokenProperty::Description, toWide(design.description));
        }
    }
}

void Win32Controls::addToolTips(HWND parent) {
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                                nullptr, instanceOf(parent), nullptr);
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
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(at(i));
        tool.lpszText = tip.data();
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Win32Controls::relayToToolTips(MSG &message) const {
    if (m_toolTip != nullptr && message.message >= WM_MOUSEFIRST &&
        message.message <= WM_MOUSELAST && indexOf(message.hwnd) < m_controls.size()) {
        SendMessageW(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    }
}

void Win32Controls::layOut(UINT dpi) {
    // The controls take the new fonts before the old ones are released.
    std::array<HFONT, 3> fonts{};
    for (std::size_t role = 0; role < fonts.size(); ++role) {
        fonts[role] = createFont(fontDesign(static_cast<FontRole>(role)), dpi);
    }
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlDesign &design = kControls[i];
        MoveWindow(at(i), scaled(design.left, dpi), scaled(design.top, dpi),
                   scaled(design.width, dpi), scaled(design.height, dpi), FALSE);
        SendMessageW(at(i), WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts[static_cast<std::size_t>(design.font)]), FALSE);
    }
    for (std::size_t role = 0; role < fonts.size(); ++role) {
        if (m_fonts[role] != nullptr) {
            DeleteObject(m_fonts[role]);
        }
        m_fonts[role] = fonts[role];
    }
}

void Win32Controls::forward(UINT message, WPARAM wParam, LPARAM lParam) const {
    for (HWND control : m_controls) {
        SendMessageW(control, message, wParam, lParam);
    }
}

std::size_t Win32Controls::indexOf(HWND control) const {
    const int id = GetDlgCtrlID(control) - kFirstId;
    const auto index = static_cast<std::size_t>(id);
    return id >= 0 && index < m_controls.size() && m_controls[index] == control ? index
                                                                                : m_controls.size();
}

COLORREF textColourOf(const ControlDesign &design, bool highContrast) {
    if (design.colour == TextColour::Red && !highContrast) {
        return RGB((kRedRgb >> 16) & 0xFF, (kRedRgb >> 8) & 0xFF, kRedRgb & 0xFF);
    }
    return GetSysColor(design.kind == ControlKind::InputField ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

bool highContrastOn() {
    return highContrastOnIn(SystemParametersInfoW);
}

bool highContrastOnIn(SystemParametersFn systemParameters) {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return systemParameters(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
