#include "ui/qt/wayland/layer_frame.h"

#include <LayerShellQt/window.h>

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int kBorder = 1;

}  // namespace

LayerFrame::LayerFrame(QWidget *client, const QString &name, bool drawsOpacity)
    : m_client(client), m_titleBar(new QWidget(this)), m_caption(new QLabel(m_titleBar)) {
    setObjectName(QStringLiteral("LayerFrame"));
    setAttribute(Qt::WA_QuitOnClose);
    client->setParent(this);
    client->installEventFilter(this);

    // The title bar of a tool window: the caption in a smaller face, a
    // close box and nothing else, in the system's colours.
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_caption->setFont(small);
    m_caption->setText(client->windowTitle());
    auto *close = new QToolButton(m_titleBar);
    close->setObjectName(QStringLiteral("CloseBox"));
    close->setAutoRaise(true);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(tr("Close"));
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    auto *row = new QHBoxLayout(m_titleBar);
    row->setContentsMargins(4, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_caption, 1);
    row->addWidget(close);
    m_titleBar->setAutoFillBackground(true);
    m_titleBar->setBackgroundRole(QPalette::Mid);
    m_titleBar->installEventFilter(this);
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);

    const int titleHeight = QFontMetrics(small).height() + 6;
    m_titleBar->setGeometry(kBorder, kBorder, client->width(), titleHeight);
    client->move(kBorder, kBorder + titleHeight);
    setFixedSize(client->width() + 2 * kBorder, client->height() + titleHeight + 2 * kBorder);

    // Drawn with an opacity of its own, the surface needs an alpha channel;
    // the title bar and the client fill their own backgrounds.
    setAttribute(Qt::WA_TranslucentBackground, drawsOpacity);

    // A layer surface on the top layer, in no taskbar; the keyboard only
    // when the user clicks into it, so that showing or fading it never
    // takes the focus from another program.
    winId();
    m_layer = LayerShellQt::Window::get(windowHandle());
    m_layer->setLayer(LayerShellQt::Window::LayerTop);
    m_layer->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityOnDemand);
    m_layer->setScope(name);
    m_layer->setExclusiveZone(0);
    m_layer->setAnchors(LayerShellQt::Window::Anchors(LayerShellQt::Window::AnchorTop |
                                                      LayerShellQt::Window::AnchorLeft));
}

void LayerFrame::placeClientAt(QPoint clientTopLeft) {
    placeAt(clientTopLeft - m_client->pos());
}

void LayerFrame::placeAt(QPoint origin) {
    m_origin = origin;
    m_layer->setMargins(QMargins(origin.x(), origin.y(), 0, 0));
}

void LayerFrame::setDrawnOpacity(double opacity) {
    if (opacity == m_opacity) {
        return;
    }
    m_opacity = opacity;
    // The title bar and the client tile the frame inside its border, so
    // each drawn with the opacity, and the border too, gives every pixel
    // of the window that alpha once. Opaque, they are drawn as ever.
    const bool translucent = opacity < 1.0;
    for (QWidget *part : {m_titleBar, m_client}) {
        if (!translucent) {
            part->setGraphicsEffect(nullptr);
        } else if (auto *effect = qobject_cast<QGraphicsOpacityEffect *>(part->graphicsEffect())) {
            effect->setOpacity(opacity);
        } else {
            effect = new QGraphicsOpacityEffect(part);
            effect->setOpacity(opacity);
            part->setGraphicsEffect(effect);
        }
    }
    // A child that fills its own background is repainted alone when it
    // changes, past the effect of the part it lies in; while the window is
    // translucent, such children leave their background to that part (the
    // client's labels: the same colour) and are repainted through it.
    if (translucent && m_filledChildren.isEmpty()) {
        for (QWidget *child : findChildren<QWidget *>()) {
            if (child != m_titleBar && child != m_client && child->autoFillBackground()) {
                m_filledChildren.append(child);
                child->setAutoFillBackground(false);
            }
        }
    } else if (!translucent) {
        for (QWidget *child : std::as_const(m_filledChildren)) {
            child->setAutoFillBackground(true);
        }
        m_filledChildren.clear();
    }
    repaint();  // at once, as the compositor would apply it
}

bool LayerFrame::eventFilter(QObject *watched, QEvent *event) {
    // The caption, which the meter's ticks change, is shown in the title
    // bar alone: a layer surface has no title of its own.
    if (watched == m_client && event->type() == QEvent::WindowTitleChange) {
        m_caption->setText(m_client->windowTitle());
    } else if (watched == m_titleBar) {
        // A drag of the title bar moves the window where the title bar is
        // dropped. While the button is held, compositors differ in the
        // origin they report the pointer from once the surface has moved
        // (sway keeps the one of the press), so the surface stays put until
        // the release, which all report from the origin of the press.
        const bool press = event->type() == QEvent::MouseButtonPress;
        if (press || event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            if (mouse->button() != Qt::LeftButton) {
                // another button drags nothing
            } else if (press) {
                m_pressed = at;
            } else if (m_pressed != QPoint(-1, -1)) {
                placeAt(m_origin + at - m_pressed);
                m_pressed = QPoint(-1, -1);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LayerFrame::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
