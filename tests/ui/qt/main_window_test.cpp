// The window on the offscreen platform, driven through its real handlers.
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <string>
#include <vector>

#include "meter/display_format.h"
#include "numtext/number_text.h"
#include "test_locales.h"
#include "ui/expected_design.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_locale.h"
#include "ui/qt/window_controls.h"

using tallaro::NumberLocale;
using tallaro::test_locales::kEnglish;
using tallaro::test_locales::kGerman;
using namespace window_controls;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsDesignTexts() {
        FrmTallaro window(kGerman);
        QCOMPARE(window.windowTitle(), QStringLiteral("Tallaro"));
        QCOMPARE(window.objectName(), QStringLiteral("FrmTallaro"));
        QCOMPARE(window.size(), QSize(217, 107));
        QCOMPARE(field(window, "TextNumPers")->text(), QStringLiteral("1"));
        QCOMPARE(field(window, "TextMoneyPers")->text(), QStringLiteral("50"));
        QCOMPARE(field(window, "TextBaseCost")->text(), QStringLiteral("100"));
        QCOMPARE(text(window, "LblPrice"), QStringLiteral("0,00"));
        QCOMPARE(text(window, "LblTime"), QStringLiteral("00:00:00"));
        QCOMPARE(field(window, "TextBaseCost")->toolTip(),
                 QStringLiteral("Grundkosten: Raummiete, Bewirtung ..."));
        QVERIFY(!timer1(window)->isActive());
        QCOMPARE(window.windowIcon().availableSizes().size(), 5);
        const Qt::WindowFlags flags = window.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void buildsEveryControlOfTheDesign() {
        namespace expected = tallaro::expected;
        FrmTallaro window(kGerman);
        for (const expected::Control &design : expected::kControls) {
            auto *widget = window.findChild<QWidget *>(QLatin1String(design.name));
            QVERIFY2(widget != nullptr, design.name);
            const char *className = design.kind == expected::Kind::Field   ? "QLineEdit"
                                    : design.kind == expected::Kind::Label ? "QLabel"
                                                                           : "QPushButton";
            QVERIFY2(widget->inherits(className), design.name);
            QCOMPARE(widget->geometry(), QRect(design.left / 15, design.top / 15, design.width / 15,
                                               design.height / 15));
            if (design.kind == expected::Kind::Label) {  // a new text never resizes a label
                QCOMPARE(widget->minimumSize(), widget->geometry().size());
                QCOMPARE(widget->maximumSize(), widget->geometry().size());
            }
            QCOMPARE(widget->font().pointSizeF(), design.pointSize);
            QCOMPARE(widget->font().bold(), design.bold);
            const QColor red(expected::kRed[0], expected::kRed[1], expected::kRed[2]);
            QCOMPARE(widget->palette().color(QPalette::WindowText) == red, design.red);
            QCOMPARE(widget->toolTip(), QString::fromUtf8(design.toolTip));
            const QString text =
                design.kind == expected::Kind::Field   ? static_cast<QLineEdit *>(widget)->text()
                : design.kind == expected::Kind::Label ? static_cast<QLabel *>(widget)->text()
                                                       : static_cast<QPushButton *>(widget)->text();
            QCOMPARE(text, QString::fromUtf8(design.text));
        }
        QVERIFY(control<QLabel>(window, "Label1")->autoFillBackground());
    }

    void tabVisitsFieldsThenButtonsInDesignOrder() {
        namespace expected = tallaro::expected;
        FrmTallaro window(kGerman);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field(window, "TextNumPers")->setFocus();
        QStringList order;
        for (const expected::Control &design : expected::kControls) {
            if (design.kind != expected::Kind::Label) {
                order << QLatin1String(design.name);
            }
        }
        order << order.takeFirst();  // round to the first again
        for (const QString &name : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
    }

    void startRunsTheMeterAndTicksShowTheAmount() {
        FrmTallaro window(kGerman);
        click(window, "BtnStart");
        QVERIFY(timer1(window)->isActive());
        QCOMPARE(timer1(window)->interval(), 1000);
        QCOMPARE(timer1(window)->timerType(), Qt::PreciseTimer);
        QVERIFY(!field(window, "TextBaseCost")->isEnabled());
        QCOMPARE(window.windowTitle(), QStringLiteral("Tallaro"));  // nothing until the tick

        window.form().Timer1_Timer();
        QCOMPARE(text(window, "LblPrice"), QStringLiteral("100,01"));
        QCOMPARE(window.windowTitle(), QStringLiteral("100,01 - Tallaro"));
        QCOMPARE(text(window, "LblTime"), QStringLiteral("00:00:01"));
        for (int i = 1; i < 9; ++i) {
            window.form().Timer1_Timer();
        }
        QCOMPARE(text(window, "LblPrice"), QStringLiteral("100,13"));
        QCOMPARE(text(window, "LblTime"), QStringLiteral("00:00:09"));
    }

    void stopHaltsAndStartResumes() {
        FrmTallaro window(kGerman);
        click(window, "BtnStart");
        window.form().Timer1_Timer();
        click(window, "BtnStop");
        QVERIFY(!timer1(window)->isActive());
        QVERIFY(!field(window, "TextBaseCost")->isEnabled());
        QCOMPARE(text(window, "LblPrice"), QStringLiteral("100,01"));

        field(window, "TextMoneyPers")->setText(QStringLiteral("3600"));
        click(window, "BtnStart");
        QVERIFY(timer1(window)->isActive());
        window.form().Timer1_Timer();
        QCOMPARE(text(window, "LblPrice"), QStringLiteral("101,01"));  // base not added again
        QCOMPARE(text(window, "LblTime"), QStringLiteral("00:00:02"));
    }

    void englishLocaleShowsEnglishSeparators() {
        FrmTallaro window(kEnglish);
        field(window, "TextBaseCost")->setText(QStringLiteral("1,000.5"));
        click(window, "BtnStart");
        window.form().Timer1_Timer();
        QCOMPARE(window.windowTitle(), QStringLiteral("1,000.51 - Tallaro"));
    }

    void startRefusesAFieldWithoutANumber() {
        FrmTallaro window(kGerman);
        field(window, "TextBaseCost")->setText(QStringLiteral("viel"));
        click(window, "BtnStart");
        QVERIFY(!timer1(window)->isActive());
        QVERIFY(field(window, "TextBaseCost")->isEnabled());
        QVERIFY(isMarked(window, "TextBaseCost"));
        QVERIFY(!isMarked(window, "TextNumPers"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tallaro"));

        field(window, "TextBaseCost")->setText(QStringLiteral("100"));
        click(window, "BtnStart");
        QVERIFY(timer1(window)->isActive());
        QVERIFY(!isMarked(window, "TextBaseCost"));
    }

    void fieldEmptiedWhileRunningIsMarkedUntilItHoldsANumber() {
        FrmTallaro window(kGerman);
        click(window, "BtnStart");
        window.form().Timer1_Timer();
        field(window, "TextNumPers")->clear();
        window.form().Timer1_Timer();
        QVERIFY(isMarked(window, "TextNumPers"));
        QVERIFY(timer1(window)->isActive());
        QCOMPARE(text(window, "LblPrice"), QStringLiteral("100,03"));  // the last persons count

        QTest::keyClicks(field(window, "TextNumPers"), QStringLiteral("2"));
        QVERIFY(isMarked(window, "TextNumPers"));  // until the next tick
        window.form().Timer1_Timer();
        QVERIFY(!isMarked(window, "TextNumPers"));
        QCOMPARE(window.form().meter().totalCost(), 100.0 + 4 * 50.0 / 3600.0);
    }

    void amountThatWouldOverflowMarksPersonsAndSalary() {
        FrmTallaro window(kGerman);
        field(window, "TextNumPers")->setText(QStringLiteral("1e300"));
        field(window, "TextMoneyPers")->setText(QStringLiteral("1e300"));
        click(window, "BtnStart");
        window.form().Timer1_Timer();
        QCOMPARE(text(window, "LblPrice"), QStringLiteral("100,00"));
        QCOMPARE(text(window, "LblTime"), QStringLiteral("00:00:01"));
        QVERIFY(isMarked(window, "TextNumPers"));
        QVERIFY(isMarked(window, "TextMoneyPers"));
    }

    // Each control's role, name and description as a screen reader gets
    // them; no two controls share a name but a field and its caption, and
    // each step button's name holds its visible text.
    void everyControlSpeaksToAScreenReader() {
        namespace expected = tallaro::expected;
        FrmTallaro window(kGerman);
        window.show();
        QSet<QString> names;
        for (const expected::Spoken &spoken : expected::kSpoken) {
            auto *widget = window.findChild<QWidget *>(QLatin1String(spoken.name));
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(iface != nullptr, spoken.name);
            const expected::Kind kind =
                std::find_if(expected::kControls.begin(), expected::kControls.end(),
                             [&](const expected::Control &control) {
                                 return qstrcmp(control.name, spoken.name) == 0;
                             })
                    ->kind;
            const QAccessible::Role role = kind == expected::Kind::Field ? QAccessible::EditableText
                                           : kind == expected::Kind::Label ? QAccessible::StaticText
                                                                           : QAccessible::Button;
            QCOMPARE(iface->role(), role);
            QCOMPARE(iface->text(QAccessible::Name), QString::fromUtf8(spoken.spokenName));
            QCOMPARE(iface->text(QAccessible::Description), QString::fromUtf8(spoken.description));
            if (auto *button = qobject_cast<QPushButton *>(widget)) {
                QVERIFY(iface->text(QAccessible::Name).startsWith(button->text()));
            }
            if (spoken.captions[0] == '\0') {
                QVERIFY2(!names.contains(iface->text(QAccessible::Name)), spoken.name);
                names.insert(iface->text(QAccessible::Name));
            }
        }
        QCOMPARE(names.size(), 11);
    }

    // Each locale's separators as Qt's data names them; where releases of
    // that data differ (Swiss German's apostrophe, ' or ’), either is taken,
    // both are read in a number, and the amount is written with the one named.
    void takesTheSeparatorsOfTheUsersLocale() {
        const struct {
            const char *name;
            const char *decimal;
            std::vector<std::string> groups;
        } cases[] = {
            {"de_DE", ",", {"."}},           {"en_US", ".", {","}},      {"fr_FR", ",", {"\u202F"}},
            {"de_CH", ".", {"\u2019", "'"}}, {"ru_RU", ",", {"\u00A0"}}, {"sv_SE", ",", {"\u00A0"}},
        };
        for (const auto &c : cases) {
            const NumberLocale locale = tallaro::ui::numberLocaleOf(QLocale(c.name));
            QCOMPARE(locale.decimalSeparator, std::string(c.decimal));
            QVERIFY2(std::find(c.groups.begin(), c.groups.end(), locale.groupSeparator) !=
                         c.groups.end(),
                     (std::string(c.name) + ": " + locale.groupSeparator).c_str());
            for (const std::string &group : c.groups) {
                QCOMPARE(tallaro::textToDouble("1" + group + "234", locale), 1234.0);
            }
            QCOMPARE(tallaro::formatAmount(1234.0, locale),
                     "1" + locale.groupSeparator + "234" + c.decimal + "00");
        }
    }

    // Where the design's face is missing, every control is drawn in the
    // face the system gives a sans-serif font, never a serif one.
    void aMissingFaceFallsBackToASansSerifOne() {
        const QString missing = QStringLiteral("Tallaro Missing Face");
        QFont sans;
        sans.setFamilies({missing});
        sans.setStyleHint(QFont::SansSerif);
        QFont serif = sans;
        serif.setStyleHint(QFont::Serif);
        const QString sansFace = QFontInfo(sans).family();
        if (QFontInfo(serif).family() == sansFace) {
            QSKIP("this machine has no serif face to tell from its sans-serif one");
        }
        FrmTallaro window(kGerman);
        QList<QWidget *> widgets = window.findChildren<QWidget *>();
        widgets.append(&window);
        for (QWidget *widget : std::as_const(widgets)) {
            QFont font = widget->font();
            font.setFamilies({missing});
            QVERIFY2(QFontInfo(font).family() == sansFace, qPrintable(widget->objectName()));
        }
    }

    // The window is drawn in the button face, as the labels are, whatever
    // the palette's window colour.
    void backgroundIsTheButtonFace() {
        const QPalette system = QApplication::palette();
        QPalette palette = system;
        const QColor window(200, 220, 240);
        const QColor button(236, 233, 216);
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::Button, button);
        QApplication::setPalette(palette);
        const QImage image = FrmTallaro(kGerman).grab().toImage();
        QApplication::setPalette(system);
        // Between the controls, and in the labels beside their captions.
        for (const QPoint at :
             {QPoint(2, 2), QPoint(88, 30), QPoint(210, 65), QPoint(76, 12), QPoint(82, 52)}) {
            QCOMPARE(image.pixelColor(at), button);
        }
    }

    // The amount's digits stand at the label's top left: their first red
    // row and column where the font puts the text's ink from there (its
    // first glyph's left bearing on, its ink's top above the baseline).
    void amountStandsAtItsDesignPlace() {
        FrmTallaro window(kGerman);
        const QImage image = window.grab().toImage();
        QLabel *price = control<QLabel>(window, "LblPrice");
        const QRect ink = QFontMetrics(price->font()).tightBoundingRect(price->text());
        QVERIFY(!ink.isEmpty());
        const QRect label = price->geometry();
        int firstRow = -1;
        int firstColumn = -1;
        for (int y = label.top(); y <= label.bottom(); ++y) {
            for (int x = label.left(); x <= label.right(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.red() > 200 && pixel.green() < 200) {
                    firstRow = firstRow < 0 ? y : firstRow;
                    firstColumn = firstColumn < 0 ? x : std::min(firstColumn, x);
                }
            }
        }
        const QFontMetrics metrics(price->font());
        QCOMPARE(firstRow, label.top() + metrics.ascent() + ink.top());
        // The glyph's ink may begin a pixel into its box, as the font draws it.
        const int left = label.left() + metrics.leftBearing(price->text().front());
        QVERIFY2(firstColumn >= left && firstColumn <= left + 1,
                 qPrintable(QStringLiteral("first red column %1, the text's left %2")
                                .arg(firstColumn)
                                .arg(left)));
    }

    // Loaded, the window stays where it was placed.
    void staysWherePlacedOnceLoaded() {
        FrmTallaro window(kGerman);
        window.placeOnScreen();
        const QPoint placed = window.geometry().topLeft();
        window.form().Form_Load();
        QApplication::processEvents();
        QCOMPARE(window.geometry().topLeft(), placed);
        QCOMPARE(window.geometry().topLeft(), window.placement().topLeft());
    }

    void opensAtTheDesignPositionWhenItFits() {
        FrmTallaro window(kGerman);
        window.placeOnScreen();
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        if (available.contains(QRect(388, 419, 217, 107))) {
            QCOMPARE(window.geometry().topLeft(), QPoint(388, 419));
        } else {
            QCOMPARE(window.geometry().center(), available.center());
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
