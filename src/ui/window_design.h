// window_design.h
// The window's design: every control with its kind, place, text, font,
// colour and tool-tip, in tab order. Plain data that any window layer builds
// its controls from.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "ui/window_port.h"

namespace tallaro::ui {

// Positions and sizes are in twips: 1/1440 inch, 15 to a pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

// Returns the length in logical pixels (96 dpi) of a length in twips.
constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

enum class ControlKind { InputField, Label, Button };

// The window's default font and the two bold faces of fields and labels.
enum class FontRole { WindowDefault, Bold, BoldLarge };

// Default: the platform's standard colours for the kind of control.
enum class TextColour { Default, Red };

struct FontDesign {
    std::string_view family;
    double pointSize;
    int weight;  // 400 regular, 700 bold
};

struct ControlDesign {
    std::string_view name;
    ControlKind kind;
    std::string_view text;
    int left, top, width, height;  // twips
    FontRole font;
    TextColour colour;
    std::string_view toolTip;  // empty: none
};

struct WindowDesign {
    std::string_view name;
    std::string_view caption;
    int clientWidth, clientHeight;  // twips
    int designLeft, designTop;      // the client area's place on the screen, twips
};

inline constexpr WindowDesign kWindow{"FrmTallaro", "Tallaro", 3255, 1605, 5820, 6285};

inline constexpr std::string_view kDefaultFontFamily = "MS Sans Serif";

// Returns the face, size and weight of a font role.
constexpr FontDesign fontDesign(FontRole role) {
    switch (role) {
        case FontRole::Bold:
            return {kDefaultFontFamily, 8.25, 700};
        case FontRole::BoldLarge:
            return {kDefaultFontFamily, 18.0, 700};
        case FontRole::WindowDefault:
            break;
    }
    return {kDefaultFontFamily, 8.25, 400};
}

// RGB of the red display texts.
inline constexpr int kRedRgb = 0xFF0000;

// In tab order; labels take no focus.
inline constexpr std::array<ControlDesign, 14> kControls = [] {
    using enum ControlKind;
    using enum FontRole;
    using enum TextColour;
    return std::array<ControlDesign, 14>{{
        {"TextNumPers", InputField, "1", 1380, 60, 855, 285, Bold, Default, "Anzahl Personen"},
        {"TextMoneyPers", InputField, "50", 1380, 420, 855, 240, Bold, Default,
         "Durchschnittliches Gehalt pro Stunde"},
        {"TextBaseCost", InputField, "100", 1380, 720, 1215, 255, Bold, Default,
         "Grundkosten: Raummiete, Bewirtung ..."},
        {"LblPrice", Label, "0,00", 60, 1080, 1515, 435, BoldLarge, Red, ""},
        {"BtnStart", Button, "Start", 2640, 60, 555, 255, WindowDefault, Default, ""},
        {"BtnStop", Button, "Stop", 2640, 420, 555, 255, WindowDefault, Default, ""},
        {"BtnNumPersP", Button, "+", 2220, 60, 375, 135, WindowDefault, Default, ""},
        {"BtnNumPersM", Button, "-", 2220, 180, 375, 135, WindowDefault, Default, ""},
        {"BtnMoneyPersP", Button, "+", 2220, 420, 375, 135, WindowDefault, Default, ""},
        {"BtnMoneyPersM", Button, "-", 2220, 540, 375, 135, WindowDefault, Default, ""},
        {"Label1", Label, "Personen", 60, 120, 1155, 195, Bold, Default, ""},
        {"Label2", Label, "Gehalt / h", 60, 420, 1215, 195, Bold, Default, ""},
        {"Label3", Label, "Grundkosten", 60, 720, 1215, 255, Bold, Default, ""},
        {"LblTime", Label, "00:00:00", 1680, 1080, 1515, 435, BoldLarge, Red, ""},
    }};
}();

// Returns the index of the named control in the table; the table's size when
// there is none.
constexpr std::size_t controlIndex(std::string_view name) {
    std::size_t index = 0;
    while (index < kControls.size() && kControls[index].name != name) {
        ++index;
    }
    return index;
}

// The input field behind each Field, by its place in the table.
inline constexpr std::array<std::size_t, 3> kFieldControls = {
    controlIndex("TextNumPers"), controlIndex("TextMoneyPers"), controlIndex("TextBaseCost")};

// Returns the table's index of the field's control.
constexpr std::size_t fieldControl(Field field) {
    return kFieldControls[static_cast<std::size_t>(field)];
}

static_assert(
    [] {
        for (std::size_t index : kFieldControls) {
            if (index >= kControls.size() || kControls[index].kind != ControlKind::InputField) {
                return false;
            }
        }
        return true;
    }(),
    "every Field names an input field of the table");

// The red display labels, by their place in the table.
inline constexpr std::size_t kLblPrice = controlIndex("LblPrice");
inline constexpr std::size_t kLblTime = controlIndex("LblTime");
static_assert(kLblPrice < kControls.size() && kLblTime < kControls.size());

// The label that captions each field, by Field: a screen reader names the
// field after it.
inline constexpr std::array<std::size_t, 3> kFieldCaptions = {
    controlIndex("Label1"), controlIndex("Label2"), controlIndex("Label3")};

// Returns the table's index of the label that captions the field.
constexpr std::size_t captionControl(Field field) {
    return kFieldCaptions[static_cast<std::size_t>(field)];
}

// What a screen reader says of a control beyond what the window shows, in
// German like the window: the step buttons' names say which field they step
// and which way, their visible text first (so that voice control by it still
// works); the displays' descriptions say what they show. An empty name is
// the visible text; an empty description, the tool-tip or none.
struct SpokenDesign {
    std::string_view control;
    std::string_view name;
    std::string_view description;
};

inline constexpr std::array<SpokenDesign, 6> kSpoken{{
    {"BtnNumPersP", "+ Personen erh\u00f6hen", ""},
    {"BtnNumPersM", "- Personen verringern", ""},
    {"BtnMoneyPersP", "+ Gehalt erh\u00f6hen", ""},
    {"BtnMoneyPersM", "- Gehalt verringern", ""},
    {"LblPrice", "", "Kosten bisher"},
    {"LblTime", "", "Dauer bisher"},
}};

static_assert(
    [] {
        for (std::size_t index : kFieldCaptions) {
            if (index >= kControls.size() || kControls[index].kind != ControlKind::Label) {
                return false;
            }
        }
        for (const SpokenDesign &spoken : kSpoken) {
            if (controlIndex(spoken.control) >= kControls.size()) {
                return false;
            }
        }
        return true;
    }(),
    "every caption is a label, and every spoken text a control's");

// A rectangle on the screen, in the window system's pixels.
struct ScreenRect {
    int left, top, width, height;

    bool operator==(const ScreenRect &) const = default;
};

// Returns where a window goes on a screen: at its design place when the
// whole of it fits in the work area there, otherwise in the middle of the
// work area. The window layer says which rectangle it measures (the client
// area or the outer frame) and which work area it means.
constexpr ScreenRect placeInWorkArea(ScreenRect design, ScreenRect workArea) {
    const bool fits = design.left >= workArea.left && design.top >= workArea.top &&
                      design.left + design.width <= workArea.left + workArea.width &&
                      design.top + design.height <= workArea.top + workArea.height;
    if (fits) {
        return design;
    }
    return {workArea.left + (workArea.width - design.width) / 2,
            workArea.top + (workArea.height - design.height) / 2, design.width, design.height};
}

}  // namespace tallaro::ui
