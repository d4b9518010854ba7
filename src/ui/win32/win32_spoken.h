// win32_spoken.h
// What a screen reader says of a control beyond its window text, which
// stays as the window shows it: Microsoft Active Accessibility's dynamic
// annotation of its name or description (IAccPropServices), which UI
// Automation takes over for standard controls. A test hands in its own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class SpokenProperty { Name, Description };

class SpokenTexts {
public:
    virtual ~SpokenTexts() = default;
    // Gives the control's name or description the text, until clear.
    virtual void annotate(HWND control, SpokenProperty property, const std::wstring &text) = 0;
    // Takes every annotation back, before the controls go.
    virtual void clear() = 0;
};

// Windows' own annotations; nothing where Windows offers none.
class Win32SpokenTexts final : public SpokenTexts {
public:
    Win32SpokenTexts();
    // Annotates through the services given, which it holds a reference to
    // (a test hands in its own, since Wine keeps no annotation).
    explicit Win32SpokenTexts(struct IAccPropServices *services);
    ~Win32SpokenTexts() override;
    Win32SpokenTexts(const Win32SpokenTexts &) = delete;
    Win32SpokenTexts &operator=(const Win32SpokenTexts &) = delete;

    void annotate(HWND control, SpokenProperty property, const std::wstring &text) override;
    void clear() override;

private:
    struct IAccPropServices *m_services = nullptr;
    bool m_com = false;  // this object started COM on the thread
    std::vector<std::pair<HWND, SpokenProperty>> m_annotated;
};
