// window_controls.h
// The window tests' way to its controls: found by their design names, read
// and clicked as a user would.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/qt/main_window.h"

namespace window_controls {

// The background of a field marked as holding no number.
inline const QColor kMarkColour(255, 200, 200);

template <class Widget>
Widget *control(const FrmTallaro &window, const char *name) {
    auto *widget = window.findChild<Widget *>(QLatin1String(name));
    if (widget == nullptr) {
        qFatal("no control %s", name);
    }
    return widget;
}
inline QString text(const FrmTallaro &window, const char *name) {
    return control<QLabel>(window, name)->text();
}
inline QLineEdit *field(const FrmTallaro &window, const char *name) {
    return control<QLineEdit>(window, name);
}
inline bool isMarked(const FrmTallaro &window, const char *name) {
    return field(window, name)->palette().color(QPalette::Base) == kMarkColour;
}
inline void click(const FrmTallaro &window, const char *name) {
    QTest::mouseClick(control<QPushButton>(window, name), Qt::LeftButton);
}
inline QTimer *timer1(const FrmTallaro &window) {
    return control<QTimer>(window, "Timer1");
}

}  // namespace window_controls
