#include "ui/qt/main_window.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
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
#include "ui/qt/x11/x11_presence.h"
#include "ui/window_design.h"

using namespace tallaro::ui;

namespace {

// The background of a field that holds no usable number.
const QColor kMarkColour(255, 200, 200);

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont qtFont(const FontDesign &design) {
    QFont font;
    // Where the design's face is missing, a sans-serif face of the same size and weight.
    font.setFamilies({qtText(design.family), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(design.pointSize);
    font.setWeight(static_cast<QFont::Weight>(design.weight));
    return font;
}

QWidget *createControl(const ControlDesign &design, QWidget *parent) {
    QWidget *control = nullptr;
    switch (design.kind) {
        case ControlKind::InputField:
            control = new QLineEdit(qtText(design.text), parent);
            break;
        case ControlKind::Button: {
            auto *button = new QPushButton(qtText(design.text), parent);
            button->setAutoDefault(false);
            control = button;
            break;
        }
        case ControlKind::Label: {
            auto *label = new QLabel(qtText(design.text), parent);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            // A text too long for its label is cut (single lines are laid
            // out faster than wrapped ones, and the labels repaint every second).
            label->setWordWrap(false);
            label->setAutoFillBackground(true);  // opaque, in the window's colour
            control = label;
            break;
        }
    }
    control->setObjectName(qtText(design.name));
    control->setGeometry(twipsToPixels(design.left), twipsToPixels(design.top),
                         twipsToPixels(design.width), twipsToPixels(design.height));
    if (design.kind == ControlKind::Label) {
        // A new text never makes the window lay out its controls again.
        control->setFixedSize(control->size());
    }
    control->setFont(qtFont(fontDesign(design.font)));
    if (design.colour == TextColour::Red) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, QColor::fromRgb(kRedRgb));
        control->setPalette(palette);
    }
    if (!design.toolTip.empty()) {
        control->setToolTip(qtText(design.toolTip));
    }
    return control;
}

// The program's icon in the sizes it carries.
QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/tallaro-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace

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
    buildControls();

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
            connect(static_cast<QPushButton *>(m_controls[i]), &QPushButton::clicked, this,
                    [this, handler] { (m_form.*handler)(); });
        }
    }
}

void FrmTallaro::buildControls() {
    QWidget *previous = nullptr;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        QWidget *control = createControl(kControls[i], this);
        m_controls[i] = control;
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previous != nullptr) {
                setTabOrder(previous, control);
            }
            previous = control;
        }
    }
    LblPrice = static_cast<QLabel *>(m_controls[kLblPrice]);
    LblTime = static_cast<QLabel *>(m_controls[kLblTime]);
    // A screen reader names each field after the caption beside it.
    findChild<QLabel *>(QStringLiteral("Label1"))->setBuddy(field(Field::NumPers));
    findChild<QLabel *>(QStringLiteral("Label2"))->setBuddy(field(Field::MoneyPers));
    findChild<QLabel *>(QStringLiteral("Label3"))->setBuddy(field(Field::BaseCost));
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

QLineEdit *FrmTallaro::field(Field which) const {
    return static_cast<QLineEdit *>(m_controls[fieldControl(which)]);
}

QTimer *FrmTallaro::timer(Timer which) const {
    return m_timers[static_cast<std::size_t>(which)];
}

std::string FrmTallaro::fieldText(Field which) const {
    return field(which)->text().toStdString();
}

void FrmTallaro::setFieldText(Field which, std::string_view text) {
    field(which)->setText(qtText(text));
}

void FrmTallaro::setFieldMarked(Field which, bool marked) {
    QPalette palette;  // resolves nothing: the field inherits its colours again
    if (marked) {
        palette.setColor(QPalette::Base, kMarkColour);
    }
    field(which)->setPalette(palette);
}

void FrmTallaro::setBaseCostEnabled(bool enabled) {
    field(Field::BaseCost)->setEnabled(enabled);
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

void FrmTallaro::showEvent(QShowEvent *event) {
    // The window exists and is not mapped yet: the moment to ask for the
    // states that Qt leaves alone, again after every change of window flags.
    if (!event->spontaneous() && window()->windowHandle() != nullptr) {
        m_backend->prepare(*window()->windowHandle());
    }
    QWidget::showEvent(event);
}
