// The step buttons of the window on the offscreen platform, clicked as a user
// clicks them: the text each writes back, and what the meter makes of it.
#include <QTest>

#include "test_locales.h"
#include "ui/qt/main_window.h"
#include "ui/qt/window_controls.h"

using tallaro::test_locales::kEnglish;
using tallaro::test_locales::kGerman;
using namespace window_controls;

class StepButtonsTest : public QObject {
    Q_OBJECT

private slots:
    void stepButtonsStepTheirFields_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plus");
        QTest::addColumn<QString>("minus");
        const struct {
            const char *lang, *text, *plus, *minus;
        } rows[] = {
            {"de", "1", "2", "1"},      {"de", "50", "51", "49"},    {"de", "999", "1", "998"},
            {"de", "1000", "1", "999"}, {"de", "0", "1", "1"},       {"de", "-5", "1", "1"},
            {"de", "2,5", "3", "1"},    {"de", "3,5", "5", "3"},     {"de", "", "1", "1"},
            {"de", "abc", "1", "1"},    {"de", "40000", "1", "1"},   {"en", "2.5", "3", "1"},
            {"en", "3.5", "5", "3"},    {"en", "1,000", "1", "999"}, {"en", "abc", "1", "1"},
        };
        for (const auto &row : rows) {
            QTest::addRow("%s '%s'", row.lang, row.text)
                << QString::fromLatin1(row.lang) << QString::fromLatin1(row.text)
                << QString::fromLatin1(row.plus) << QString::fromLatin1(row.minus);
        }
    }

    void stepButtonsStepTheirFields() {
        QFETCH(QString, lang);
        QFETCH(QString, text);
        QFETCH(QString, plus);
        QFETCH(QString, minus);
        const struct {
            const char *field, *plusButton, *minusButton;
        } steppers[] = {
            {"TextNumPers", "BtnNumPersP", "BtnNumPersM"},
            {"TextMoneyPers", "BtnMoneyPersP", "BtnMoneyPersM"},
        };
        for (const auto &stepper : steppers) {
            FrmTallaro window(lang == QLatin1String("de") ? kGerman : kEnglish);
            field(window, stepper.field)->setText(text);
            click(window, stepper.plusButton);
            QCOMPARE(field(window, stepper.field)->text(), plus);
            field(window, stepper.field)->setText(text);
            click(window, stepper.minusButton);
            QCOMPARE(field(window, stepper.field)->text(), minus);
        }
    }

    void stepButtonsTouchOnlyTheirOwnField() {
        FrmTallaro window(kGerman);
        click(window, "BtnNumPersP");
        click(window, "BtnMoneyPersM");
        QCOMPARE(field(window, "TextNumPers")->text(), QStringLiteral("2"));
        QCOMPARE(field(window, "TextMoneyPers")->text(), QStringLiteral("49"));
        QCOMPARE(field(window, "TextBaseCost")->text(), QStringLiteral("100"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tallaro"));
        QVERIFY(!timer1(window)->isActive());
    }

    void nextTickUsesTheSteppedValueAndDropsTheMark() {
        FrmTallaro window(kGerman);
        field(window, "TextMoneyPers")->setText(QStringLiteral("36"));
        field(window, "TextBaseCost")->setText(QStringLiteral("0"));
        click(window, "BtnStart");
        window.form().Timer1_Timer();
        QCOMPARE(text(window, "LblPrice"), QStringLiteral(",01"));

        click(window, "BtnNumPersP");  // two persons from the next tick on
        QCOMPARE(text(window, "LblPrice"), QStringLiteral(",01"));
        window.form().Timer1_Timer();
        QCOMPARE(text(window, "LblPrice"), QStringLiteral(",03"));

        field(window, "TextNumPers")->setText(QStringLiteral("zwei"));
        window.form().Timer1_Timer();
        QVERIFY(isMarked(window, "TextNumPers"));
        click(window, "BtnNumPersP");
        QCOMPARE(field(window, "TextNumPers")->text(), QStringLiteral("1"));
        QVERIFY(isMarked(window, "TextNumPers"));  // until the meter reads it
        window.form().Timer1_Timer();
        QVERIFY(!isMarked(window, "TextNumPers"));
        QCOMPARE(text(window, "LblPrice"), QStringLiteral(",06"));  // 0.01 + 0.02 + 0.02 + 0.01
    }
};

QTEST_MAIN(StepButtonsTest)
#include "step_buttons_test.moc"
