// qt_controls.h
// The window's controls in Qt, built from the window design: one widget per
// entry, in tab order, at its place, with its font, colour and tool-tip.
#pragma once

#include <QFont>
#include <QIcon>
#include <QString>

#include <array>
#include <cstddef>
#include <string_view>

#include "ui/window_design.h"

class QLabel;
class QLineEdit;
class QWidget;

class QtControls {
public:
    // Creates the controls of the design in the parent, in its order (the
    // tab order), names each field after the caption beside it, and gives
    // the step buttons and the displays what a screen reader says of them.
    void create(QWidget *parent);

    QWidget *at(std::size_t index) const { return m_controls[index]; }
    QLineEdit *field(tallaro::ui::Field field) const;
    QLabel *label(std::size_t index) const;
    // Tints a field that holds no usable number, or gives it its colours back.
    void markField(tallaro::ui::Field field, bool marked) const;

private:
    std::array<QWidget *, tallaro::ui::kControls.size()> m_controls{};
};

// Returns UTF-8 text as Qt's.
QString qtText(std::string_view text);
// Returns a design's font; where its face is missing, a sans-serif face of
// the same size and weight.
QFont qtFont(const tallaro::ui::FontDesign &design);
// Returns the program's icon in the sizes a title bar and a window switcher show.
QIcon applicationIcon();
