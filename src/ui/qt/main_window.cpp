#include "ui/qt/main_window.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <optional>
#include <string>
#include <utility>

#include "presence/window_opacity.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/x11/x11_presence.h"
#include "ui/window_design.h"

using namespace tallaro::ui;

FrmTallaro::FrmTallaro(tallaro::NumberLocale locale, bool presence, QWidget *parent)
    : FrmTallaro(std::move(locale), std::make_unique<X11Presence>(), parent) {
    m_presence = presence;
}

FrmTallaro::~FrmTallaro() = default;

FrmTallaro::FrmTallaro(tallaro::NumberLocale locale, std::unique_ptr<Presence> backend,
                       QWidget *parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_presence(true),
      m_backend(std::move(backend)),
      m_form(*this, std::move(locale)) {
    setObjectName(qtText(kWindow.name));
    setWindowTitle(qtText(kWindow.caption));
    setFixedSize(twipsToPixels(kWindow.clientWidth), twipsToPixels(kWindow.clientHeight));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(qtFont(fontDesign(FontRole::WindowDefault)));
    setWindowIcon(applicationIcon());
    setMouseTracking(true);  // moves over the background, without a button held
    m_controls.create(this);
    LblPrice = m_controls.label(kLblPrice);
    LblTime = m_controls.label(kLblTime);

    const char *timerNames[] = {"Timer1", "Timer2", "FadePause"};
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
        m_timers[i] = new QTimer(this);
        m_timers[i]->setObjectName(QLatin1String(timerNames[i]));
    }
    // Precise, so that an hour of ticks takes an hour of wall time, and each
    // pause of a fade its 10 ms.
    timer(Timer::Meter)->setTimerType(Qt::PreciseTimer);
    timer(Timer::FadePause)->setTimerType(Qt::PreciseTimer);
    connect(timer(Timer::Meter), &QTimer::timeout, this, [this] { m_form.Timer1_Timer(); });
    connect(timer(Timer::Poll), &QTimer::timeout, this, [this] { m_form.Timer2_Timer(); });
    m_backend->onCrossing([this] { m_form.Form_PointerCrossed(); });
    connect(timer(Timer::FadePause), &QTimer::timeout, this, [this] { m_form.FadePause_Timer(); });

    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (const FormHandler handler = clickHandlerOf(kControls[i].name)) {
            connect(static_cast<QPushButton *>(m_controls.at(i)), &QPushButton::clicked, this,
                    [this, handler] { (m_form.*handler)(); });
        }
    }
}

void FrmTallaro::placeOnScreen() {
    setGeometry(placement());
}

QRect FrmTallaro::placement() const {
    const QRect design(QPoint(twipsToPixels(kWindow.designLeft), twipsToPixels(kWindow.designTop)),
                       size());
    const QScreen *screen = QGuiApplication::screenAt(design.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return design;
    }
    const QRect area = screen->availableGeometry();
    const ScreenRect placed =
        placeInWorkArea({design.x(), design.y(), design.width(), design.height()},
                        {area.x(), area.y(), area.width(), area.height()});
    return {placed.left, placed.top, placed.width, placed.height};
}

QTimer *FrmTallaro::timer(Timer which) const {
    return m_timers[static_cast<std::size_t>(which)];
}

std::string FrmTallaro::fieldText(Field which) const {
    return m_controls.field(which)->text().toStdString();
}

void FrmTallaro::setFieldText(Field which, std::string_view text) {
    m_controls.field(which)->setText(qtText(text));
}

void FrmTallaro::setFieldMarked(Field which, bool marked) {
    m_controls.markField(which, marked);
}

void FrmTallaro::setBaseCostEnabled(bool enabled) {
    m_controls.field(Field::BaseCost)->setEnabled(enabled);
}

void FrmTallaro::showDisplay(const tallaro::MeterDisplay &display) {
    LblPrice->setText(QString::fromStdString(display.amount));
    m_backend->withoutEcho(*window(),
                           [&] { setWindowTitle(QString::fromStdString(display.caption)); });
    LblTime->setText(QString::fromStdString(display.time));
}

void FrmTallaro::switchTimerOn(Timer which, int intervalMs) {
    timer(which)->setSingleShot(false);
    timer(which)->start(intervalMs);
}

// Precise, so that the poll never wakes before the mark it was set for.
void FrmTallaro::wakePollIn(int delayMs) {
    QTimer *poll = timer(Timer::Poll);
    poll->setSingleShot(true);
    poll->setTimerType(Qt::PreciseTimer);
    poll->start(delayMs);
}

std::int64_t FrmTallaro::steadyMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::optional<bool> FrmTallaro::crossedInside() const {
    const QWindow *window = this->window()->windowHandle();
    return window != nullptr ? m_backend->crossedInside(*window) : std::nullopt;
}

void FrmTallaro::switchTimerOff(Timer which) {
    timer(which)->stop();
}

void FrmTallaro::placeTopmost() {
    if (!isWindow()) {
        // In a frame of the program's own, which keeps its band itself.
        showWindow();
        return;
    }
    // A change of flags makes Qt read the window's position as its frame's,
    // so the client area is put back where it was placed; and Qt counts tool
    // windows as secondary anew, but this one is the program: closing it
    // ends it.
    const QRect placed = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setGeometry(placed);
    setAttribute(Qt::WA_QuitOnClose);
    show();
}

void FrmTallaro::showWindow() {
    show();
    window()->show();
}

void FrmTallaro::repaintWindow() {
    repaint();
}

void FrmTallaro::SetTrans(std::int16_t Trans) {
    if (!tallaro::isOpacityLevel(Trans)) {
        return;
    }
    m_backend->setOpacity(*window(), tallaro::opacityOfLevel(Trans));
}

QPoint FrmTallaro::pointerPosition() const {
    return QCursor::pos();
}

bool FrmTallaro::pointerInside() const {
    // On X11 the crossing events tell, without a round trip per poll.
    const QWindow *window = this->window()->windowHandle();
    if (window != nullptr) {
        if (const std::optional<bool> inside = m_backend->pointerInside(*window)) {
            return *inside;
        }
    }
    // The outer rectangle as the window system has it now (the widget's own
    // copy of the frame is only renewed when the window moves, and misses a
    // frame that the window manager adds later). Like the window system's
    // rectangles it holds its left and top edges but not its right and
    // bottom ones.
    const QRect outer = window != nullptr ? window->frameGeometry() : frameGeometry();
    return outer.contains(pointerPosition());
}

void FrmTallaro::mouseMoveEvent(QMouseEvent * /*event*/) {
    m_form.Form_MouseMove();
}

// Every move over the window, over its controls too, reaches its QWindow
// before any widget.
bool FrmTallaro::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseMove) {
        m_backend->pointerMoved();
    }
    return QWidget::eventFilter(watched, event);
}

void FrmTallaro::showEvent(QShowEvent *event) {
    // The window exists and is not mapped yet: the moment to ask for the
    // states that Qt leaves alone, again after every change of window flags.
    if (!event->spontaneous() && window()->windowHandle() != nullptr) {
        m_backend->prepare(*window()->windowHandle());
        // Installed once however often it is shown.
        window()->windowHandle()->removeEventFilter(this);
        window()->windowHandle()->installEventFilter(this);
    }
    QWidget::showEvent(event);
}
