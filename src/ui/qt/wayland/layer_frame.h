// layer_frame.h
// The window's frame on a Wayland compositor with layer-shell, where the
// window is a layer surface on the "top" layer (above ordinary windows, no
// taskbar or pager entry) and has no decoration but its own: a thin title
// bar with the caption and a close box, and a border, around the client
// area, which stays as the design has it. Dragging the title bar moves the
// window where the title bar is dropped; the close box closes it, as a
// window manager's does. Where the compositor cannot draw the surface with
// an alpha of its own, the frame draws itself with one.
#pragma once

#include <QList>
#include <QPoint>
#include <QWidget>

class QLabel;

namespace LayerShellQt {
class Window;
}

class LayerFrame : public QWidget {
public:
    // Frames the client widget, which it takes as its child and whose
    // caption the title bar shows; the
    // frame's name is what a user names the surface by in the compositor's
    // rules (the application id). A frame that draws its own opacity
    // (setDrawnOpacity) gets a surface with an alpha channel.
    LayerFrame(QWidget *client, const QString &name, bool drawsOpacity);

    // Draws the whole window, frame and client, with an opacity
    // (0 < opacity <= 1), for a compositor that has no alpha of its own
    // for surfaces; the frame must have been made to draw its opacity.
    void setDrawnOpacity(double opacity);

    // Places the frame so that the client area is at the given point of the
    // screen, anchored to the output's top left corner.
    void placeClientAt(QPoint clientTopLeft);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Puts the frame's top left at a point of the output.
    void placeAt(QPoint origin);

    QWidget *m_client;
    QWidget *m_titleBar;
    QLabel *m_caption;
    LayerShellQt::Window *m_layer = nullptr;
    QPoint m_origin;                    // the frame's top left on the output
    QPoint m_pressed{-1, -1};           // where a drag of the title bar took hold, in the frame
    double m_opacity = 1.0;             // drawn, where the frame draws it
    QList<QWidget *> m_filledChildren;  // their own backgrounds left off while translucent
};
