// FrmTallaro's presence on the desktop: topmost placement, opacity, and the
// hover fade, played level by level on a 10 ms timer so that the window
// system sees every level and other events are served in between.
#include <QCursor>
#include <QTimer>
#include <QWindow>

#include "presence/window_opacity.h"
#include "ui/main_window.h"

using tallaro::HoverFade;

namespace {

constexpr int kPollMs = 50;

}  // namespace

void FrmTallaro::Form_Load() {
    Timer2->setInterval(kPollMs);
    Timer2->start();
    // Topmost placement, never undone; it shows the window, fully opaque, so
    // the load's own show finds it shown already. A change of flags makes Qt
    // read the window's position as its frame's, so the client area is put
    // back where it was placed; and Qt counts tool windows as secondary anew,
    // but this one is the program: closing it ends it.
    const QRect placed = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setGeometry(placed);
    setAttribute(Qt::WA_QuitOnClose);
    show();
    FadeIn();
}

void FrmTallaro::SetTrans(std::int16_t Trans) {
    if (!tallaro::isOpacityLevel(Trans)) {
        return;
    }
    setWindowOpacity(tallaro::opacityOfLevel(Trans));
}

QPoint FrmTallaro::pointerPosition() const {
    return QCursor::pos();
}

void FrmTallaro::Timer2_Timer() {
    // The outer rectangle, frame and title bar included, as the window system
    // has it now (the widget's own copy of the frame is only renewed when the
    // window moves, and misses a frame that the window manager adds later).
    // Like the window system's rectangles it holds its left and top edges but
    // not its right and bottom ones.
    const QRect outer =
        windowHandle() != nullptr ? windowHandle()->frameGeometry() : frameGeometry();
    if (outer.contains(pointerPosition())) {
        FadeIn();
    } else {
        FadeOut();
    }
}

void FrmTallaro::mouseMoveEvent(QMouseEvent * /*event*/) {
    Form_MouseMove();
}

void FrmTallaro::Form_MouseMove() {
    FadeIn();
}

void FrmTallaro::FadeIn() {
    beginFade(HoverFade::Direction::In);
}

void FrmTallaro::FadeOut() {
    beginFade(HoverFade::Direction::Out);
}

void FrmTallaro::beginFade(HoverFade::Direction direction) {
    const std::optional<HoverFade::Opening> opening = m_fade.begin(direction);
    if (!opening) {
        return;  // a fade runs to its end
    }
    Timer2->stop();
    if (opening->openingLevel) {
        SetTrans(*opening->openingLevel);
    }
    show();
    if (!opening->firstLevel) {
        endFade();
        return;
    }
    SetTrans(*opening->firstLevel);
    m_fadeTimer->start();
}

void FrmTallaro::FadeTimer_Timer() {
    repaint();
    if (const std::optional<std::int16_t> level = m_fade.next()) {
        SetTrans(*level);
        return;
    }
    m_fadeTimer->stop();
    endFade();
}

void FrmTallaro::endFade() {
    Timer2->start();
    show();
}
