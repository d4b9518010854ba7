// expected_design.h
// The window as it is designed, written out here once for the window tests
// of both window layers, independently of the table the windows are built
// from: a wrong entry there fails these tests.
#pragma once

#include <array>

namespace tallaro::expected {

enum class Kind { Field, Label, Button };

struct Control {
    const char *name;
    Kind kind;
    const char *text;
    int left, top, width, height;  // twips
    double pointSize;
    bool bold;
    bool red;
    const char *toolTip;  // "" for none
};

// In tab order; labels take no focus.
inline constexpr std::array<Control, 14> kControls{{
    {"TextNumPers", Kind::Field, "1", 1380, 60, 855, 285, 8.25, true, false, "Anzahl Personen"},
    {"TextMoneyPers", Kind::Field, "50", 1380, 420, 855, 240, 8.25, true, false,
     "Durchschnittliches Gehalt pro Stunde"},
    {"TextBaseCost", Kind::Field, "100", 1380, 720, 1215, 255, 8.25, true, false,
     "Grundkosten: Raummiete, Bewirtung ..."},
    {"LblPrice", Kind::Label, "0,00", 60, 1080, 1515, 435, 18.0, true, true, ""},
    {"BtnStart", Kind::Button, "Start", 2640, 60, 555, 255, 8.25, false, false, ""},
    {"BtnStop", Kind::Button, "Stop", 2640, 420, 555, 255, 8.25, false, false, ""},
    {"BtnNumPersP", Kind::Button, "+", 2220, 60, 375, 135, 8.25, false, false, ""},
    {"BtnNumPersM", Kind::Button, "-", 2220, 180, 375, 135, 8.25, false, false, ""},
    {"BtnMoneyPersP", Kind::Button, "+", 2220, 420, 375, 135, 8.25, false, false, ""},
    {"BtnMoneyPersM", Kind::Button, "-", 2220, 540, 375, 135, 8.25, false, false, ""},
    {"Label1", Kind::Label, "Personen", 60, 120, 1155, 195, 8.25, true, false, ""},
    {"Label2", Kind::Label, "Gehalt / h", 60, 420, 1215, 195, 8.25, true, false, ""},
    {"Label3", Kind::Label, "Grundkosten", 60, 720, 1215, 255, 8.25, true, false, ""},
    {"LblTime", Kind::Label, "00:00:00", 1680, 1080, 1515, 435, 18.0, true, true, ""},
}};

// What a screen reader says of each control at start, in the order above:
// its name and its description. A field is named after the label that
// captions it, which it alone shares its name with.
struct Spoken {
    const char *name;
    const char *spokenName;
    const char *description;  // "" for none
    const char *captions;     // the field a label captions; "" for none
};

inline constexpr std::array<Spoken, 14> kSpoken{{
    {"TextNumPers", "Personen", "Anzahl Personen", ""},
    {"TextMoneyPers", "Gehalt / h", "Durchschnittliches Gehalt pro Stunde", ""},
    {"TextBaseCost", "Grundkosten", "Grundkosten: Raummiete, Bewirtung ...", ""},
    {"LblPrice", "0,00", "Kosten bisher", ""},
    {"BtnStart", "Start", "", ""},
    {"BtnStop", "Stop", "", ""},
    {"BtnNumPersP", "+ Personen erh\u00f6hen", "", ""},
    {"BtnNumPersM", "- Personen verringern", "", ""},
    {"BtnMoneyPersP", "+ Gehalt erh\u00f6hen", "", ""},
    {"BtnMoneyPersM", "- Gehalt verringern", "", ""},
    {"Label1", "Personen", "", "TextNumPers"},
    {"Label2", "Gehalt / h", "", "TextMoneyPers"},
    {"Label3", "Grundkosten", "", "TextBaseCost"},
    {"LblTime", "00:00:00", "Dauer bisher", ""},
}};

// The window: its name, first caption and client area in twips, and where
// that client area is designed to stand on the screen.
inline constexpr const char *kWindowName = "FrmTallaro";
inline constexpr const char *kCaption = "Tallaro";
inline constexpr int kClientWidth = 3255;
inline constexpr int kClientHeight = 1605;
inline constexpr int kDesignLeft = 5820;
inline constexpr int kDesignTop = 6285;

// The face of every control's font.
inline constexpr const char *kFontFace = "MS Sans Serif";

// The red of the amount and the time.
inline constexpr int kRed[3] = {255, 0, 0};

}  // namespace tallaro::expected
