#include "ui/win32/win32_spoken.h"

#include <initguid.h>  // the GUIDs below, defined here

#include <oleacc.h>

namespace {

const MSAAPROPID &propertyId(SpokenProperty property) {
    return property == SpokenProperty::Name ? PROPID_ACC_NAME : PROPID_ACC_DESCRIPTION;
}

}  // namespace

Win32SpokenTexts::Win32SpokenTexts() {
    m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    void *services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, &services))) {
        m_services = static_cast<IAccPropServices *>(services);
    }
}

Win32SpokenTexts::Win32SpokenTexts(IAccPropServices *services) : m_services(services) {
    if (m_services != nullptr) {
        m_services->AddRef();
    }
}

Win32SpokenTexts::~Win32SpokenTexts() {
    clear();
    if (m_services != nullptr) {
        m_services->Release();
    }
    if (m_com) {
        CoUninitialize();
    }
}

void Win32SpokenTexts::annotate(HWND control, SpokenProperty property, const std::wstring &text) {
    if (m_services != nullptr &&
        SUCCEEDED(m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                             CHILDID_SELF, propertyId(property), text.c_str()))) {
        m_annotated.emplace_back(control, property);
    }
}

void Win32SpokenTexts::clear() {
    for (const auto &[control, property] : m_annotated) {
        MSAAPROPID id = propertyId(property);
        m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &id, 1);
    }
    m_annotated.clear();
}
