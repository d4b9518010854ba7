// pointer_position.h
// Where the pointer is on the screen, for the 20 polls a second. Under X11 it
// asks the server over a connection of its own, so that the polls do not
// wake Qt's event thread; elsewhere, and should that connection fail, it
// asks Qt.
#pragma once

#include <QPoint>

class QWindow;

class PointerPosition {
public:
    PointerPosition();
    ~PointerPosition();
    PointerPosition(const PointerPosition &) = delete;
    PointerPosition &operator=(const PointerPosition &) = delete;

    // The pointer's position in the logical coordinates of the window's screen.
    QPoint query(const QWindow *window) const;

private:
    struct X11;
    X11 *m_x11 = nullptr;
};
