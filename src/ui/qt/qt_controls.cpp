#include "ui/qt/qt_controls.h"

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

using namespace tallaro::ui;

namespace {

// The background of a field that holds no usable number.
const QColor kMarkColour(255, 200, 200);

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

}  // namespace

void QtControls::create(QWidget *parent) {
    QWidget *previous = nullptr;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        QWidget *control = createControl(kControls[i], parent);
        m_controls[i] = control;
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, control);
            }
            previous = control;
        }
    }
    // A screen reader names each field after the caption beside it, and
    // hears what the step buttons and the displays are.
    for (Field which : {Field::NumPers, Field::MoneyPers, Field::BaseCost}) {
        label(captionControl(which))->setBuddy(field(which));
    }
    for (const SpokenDesign &spoken : kSpoken) {
        QWidget *control = m_controls[controlIndex(spoken.control)];
        if (!spoken.name.empty()) {
            control->setAccessibleName(qtText(spoken.name));
        }
        if (!spoken.description.empty()) {
            control->setAccessibleDescription(qtText(spoken.description));
        }
    }
}

QLineEdit *QtControls::field(Field field) const {
    return static_cast<QLineEdit *>(m_controls[fieldControl(field)]);
}

QLabel *QtControls::label(std::size_t index) const {
    return static_cast<QLabel *>(m_controls[index]);
}

void QtControls::markField(Field which, bool marked) const {
    QPalette palette;  // resolves nothing: the field inherits its colours again
    if (marked) {
        palette.setColor(QPalette::Base, kMarkColour);
    }
    field(which)->setPalette(palette);
}

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont qtFont(const FontDesign &design) {
    QFont font;
    font.setFamilies({qtText(design.family), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(design.pointSize);
    font.setWeight(static_cast<QFont::Weight>(design.weight));
    return font;
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/tallaro-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
