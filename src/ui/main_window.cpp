#include "ui/main_window.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <string>
#include <utility>

#include "stepper/value_stepper.h"
#include "ui/control_table.h"

using tallaro::MeterModel;
using namespace tallaro::ui;

namespace {

constexpr int kTickMs = 1000;
// The background of a field that holds no usable number.
const QColor kMarkColour(255, 200, 200);

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont qtFont(const FontSpec &spec) {
    QFont font;
    // Where the design's face is missing, a sans-serif face of the same size and weight.
    font.setFamilies({qtText(spec.family), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(spec.pointSize);
    font.setWeight(static_cast<QFont::Weight>(spec.weight));
    return font;
}

QWidget *createControl(const ControlSpec &spec, QWidget *parent) {
    QWidget *control = nullptr;
    switch (spec.kind) {
        case ControlKind::InputField:
            control = new QLineEdit(qtText(spec.text), parent);
            break;
        case ControlKind::Button: {
            auto *button = new QPushButton(qtText(spec.text), parent);
            button->setAutoDefault(false);
            control = button;
            break;
        }
        case ControlKind::Label: {
            auto *label = new QLabel(qtText(spec.text), parent);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            label->setAutoFillBackground(true);  // opaque, in the window's colour
            control = label;
            break;
        }
    }
    control->setObjectName(qtText(spec.name));
    control->setGeometry(twipsToPixels(spec.left), twipsToPixels(spec.top),
                         twipsToPixels(spec.width), twipsToPixels(spec.height));
    control->setFont(qtFont(fontSpec(spec.font)));
    if (spec.colour == TextColour::Red) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, QColor::fromRgb(kRedRgb));
        control->setPalette(palette);
    }
    if (!spec.toolTip.empty()) {
        control->setToolTip(qtText(spec.toolTip));
    }
    return control;
}

// The program's icon in every size it carries.
QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/tallaro-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void setMarked(QLineEdit *field, bool marked) {
    QPalette palette;  // resolves nothing: the field inherits its colours again
    if (marked) {
        palette.setColor(QPalette::Base, kMarkColour);
    }
    field->setPalette(palette);
}

}  // namespace

// The field texts as UTF-8, kept alive while the meter reads them.
struct FrmTallaro::FieldTexts {
    std::string persons, salary, baseCost;
    tallaro::MeterFields view() const { return {persons, salary, baseCost}; }
};

FrmTallaro::FrmTallaro(tallaro::NumberLocale locale, QWidget *parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_locale(std::move(locale)),
      m_meter(m_locale) {
    setObjectName(qtText(kWindow.name));
    setWindowTitle(qtText(kWindow.caption));
    setFixedSize(twipsToPixels(kWindow.clientWidth), twipsToPixels(kWindow.clientHeight));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(qtFont(fontSpec(FontRole::WindowDefault)));
    setWindowIcon(applicationIcon());
    buildControls();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // Precise, so that an hour of ticks takes an hour of wall time.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &FrmTallaro::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &QTimer::timeout, this, &FrmTallaro::Timer2_Timer);
    m_fadeTimer = new QTimer(this);
    m_fadeTimer->setObjectName(QStringLiteral("FadeTimer"));
    m_fadeTimer->setTimerType(Qt::PreciseTimer);
    m_fadeTimer->setInterval(tallaro::HoverFade::kPauseMs);
    connect(m_fadeTimer, &QTimer::timeout, this, &FrmTallaro::FadeTimer_Timer);
    setMouseTracking(true);
    connect(BtnStart, &QPushButton::clicked, this, &FrmTallaro::BtnStart_Click);
    connect(BtnStop, &QPushButton::clicked, this, &FrmTallaro::BtnStop_Click);
    connect(BtnNumPersP, &QPushButton::clicked, this, &FrmTallaro::BtnNumPersP_Click);
    connect(BtnNumPersM, &QPushButton::clicked, this, &FrmTallaro::BtnNumPersM_Click);
    connect(BtnMoneyPersP, &QPushButton::clicked, this, &FrmTallaro::BtnMoneyPersP_Click);
    connect(BtnMoneyPersM, &QPushButton::clicked, this, &FrmTallaro::BtnMoneyPersM_Click);
}

void FrmTallaro::buildControls() {
    QWidget *previous = nullptr;
    for (const ControlSpec &spec : kControls) {
        QWidget *control = createControl(spec, this);
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previous != nullptr) {
                setTabOrder(previous, control);
            }
            previous = control;
        }
    }
    TextNumPers = findChild<QLineEdit *>(QStringLiteral("TextNumPers"));
    TextMoneyPers = findChild<QLineEdit *>(QStringLiteral("TextMoneyPers"));
    TextBaseCost = findChild<QLineEdit *>(QStringLiteral("TextBaseCost"));
    LblPrice = findChild<QLabel *>(QStringLiteral("LblPrice"));
    LblTime = findChild<QLabel *>(QStringLiteral("LblTime"));
    BtnStart = findChild<QPushButton *>(QStringLiteral("BtnStart"));
    BtnStop = findChild<QPushButton *>(QStringLiteral("BtnStop"));
    BtnNumPersP = findChild<QPushButton *>(QStringLiteral("BtnNumPersP"));
    BtnNumPersM = findChild<QPushButton *>(QStringLiteral("BtnNumPersM"));
    BtnMoneyPersP = findChild<QPushButton *>(QStringLiteral("BtnMoneyPersP"));
    BtnMoneyPersM = findChild<QPushButton *>(QStringLiteral("BtnMoneyPersM"));
    // A screen reader names each field after the caption beside it.
    findChild<QLabel *>(QStringLiteral("Label1"))->setBuddy(TextNumPers);
    findChild<QLabel *>(QStringLiteral("Label2"))->setBuddy(TextMoneyPers);
    findChild<QLabel *>(QStringLiteral("Label3"))->setBuddy(TextBaseCost);
}

void FrmTallaro::placeOnScreen() {
    QRect client(QPoint(twipsToPixels(kWindow.designLeft), twipsToPixels(kWindow.designTop)),
                 size());
    const QScreen *screen = QGuiApplication::screenAt(client.center());
    if (screen == nullptr || !screen->availableGeometry().contains(client)) {
        screen = QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            client.moveCenter(screen->availableGeometry().center());
        }
    }

    setGeometry(client);
}

FrmTallaro::FieldTexts FrmTallaro::fieldTexts() const {
    return {TextNumPers->text().toStdString(), TextMoneyPers->text().toStdString(),
            TextBaseCost->text().toStdString()};
}

void FrmTallaro::showMarks() {
    const tallaro::FieldMarks &marks = m_meter.marks();
    if (marks == m_shownMarks) {
        return;
    }
    m_shownMarks = marks;
    setMarked(TextNumPers, marks.persons);
    setMarked(TextMoneyPers, marks.salary);
    setMarked(TextBaseCost, marks.baseCost);
}

void FrmTallaro::BtnStart_Click() {
    const MeterModel::StartOutcome outcome = m_meter.start(fieldTexts().view());
    showMarks();
    if (outcome == MeterModel::StartOutcome::Refused) {
        return;
    }
    TextBaseCost->setEnabled(m_meter.baseCostEditable());
    // A running timer keeps its interval: a second click never delays a tick.
    if (outcome == MeterModel::StartOutcome::Started) {
        Timer1->setInterval(kTickMs);
        Timer1->start();
    }
}

void FrmTallaro::BtnStop_Click() {
    m_meter.stop();
    Timer1->stop();
}

void FrmTallaro::Timer1_Timer() {
    const tallaro::MeterDisplay display = m_meter.tick(fieldTexts().view());
    LblPrice->setText(QString::fromStdString(display.amount));
    setWindowTitle(QString::fromStdString(display.caption));
    LblTime->setText(QString::fromStdString(display.time));
    showMarks();
}

// The new value counts from the meter's next tick on; a mark goes there too.
void FrmTallaro::stepField(QLineEdit *field, std::int16_t addValue) {
    field->setText(QString::fromStdString(
        tallaro::steppedFieldText(field->text().toStdString(), addValue, m_locale)));
}

void FrmTallaro::BtnNumPersP_Click() {
    stepField(TextNumPers, +1);
}
void FrmTallaro::BtnNumPersM_Click() {
    stepField(TextNumPers, -1);
}
void FrmTallaro::BtnMoneyPersP_Click() {
    stepField(TextMoneyPers, +1);
}
void FrmTallaro::BtnMoneyPersM_Click() {
    stepField(TextMoneyPers, -1);
}
