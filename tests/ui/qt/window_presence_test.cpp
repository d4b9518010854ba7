// The window's presence with the pointer's position injected and every
// SetTrans recorded; fades are stepped here, not waited for.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <vector>

#include "test_locales.h"
#include "ui/qt/main_window.h"

namespace {

using Levels = std::vector<std::int16_t>;

class ProbedWindow : public FrmTallaro {
public:
    ProbedWindow() : FrmTallaro(tallaro::test_locales::kGerman) {}

    QPoint pointer{-1000, -1000};
    Levels levels;  // every SetTrans, applied or not

    struct Played {
        int pauses = 0;
        bool pollWasOn = false;  // Timer2 running at any step of the fade
    };
    // Plays the running fade to its end, one pause after another.
    Played finishFade() {
        Played played;
        while (form().fade().fading()) {
            played.pollWasOn = played.pollWasOn || poll()->isActive();
            form().FadePause_Timer();
            ++played.pauses;
        }
        return played;
    }
    // Polls with the pointer at a place and plays what it starts.
    Levels pollAt(QPoint place) {
        pointer = place;
        levels.clear();
        form().Timer2_Timer();
        finishFade();
        return levels;
    }
    QTimer *poll() const { return findChild<QTimer *>(QStringLiteral("Timer2")); }

    void SetTrans(std::int16_t Trans) override {
        levels.push_back(Trans);
        FrmTallaro::SetTrans(Trans);
    }

protected:
    QPoint pointerPosition() const override { return pointer; }
};

Levels range(int from, int to, int step) {
    Levels levels;
    for (int level = from; step > 0 ? level <= to : level >= to; level += step) {
        levels.push_back(static_cast<std::int16_t>(level));
    }
    return levels;
}

Levels concat(const Levels &first, const Levels &rest) {
    Levels levels(first);
    levels.insert(levels.end(), rest.begin(), rest.end());
    return levels;
}

constexpr QPoint kAway(-1000, -1000);

// The process's resident memory in bytes, as the kernel counts it.
long residentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;  // its quarantine holds freed memory
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

}  // namespace

class WindowPresenceTest : public QObject {
    Q_OBJECT

private slots:
    void loadPlacesOnTopShowsAndFadesIn() {
        ProbedWindow window;
        QVERIFY(!window.isVisible());
        window.form().Form_Load();
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.testAttribute(Qt::WA_QuitOnClose));  // closing it ends the program
        QVERIFY(window.isVisible());
        QVERIFY(!window.poll()->isActive());  // off for the whole fade
        const ProbedWindow::Played played = window.finishFade();
        QCOMPARE(played.pauses, 52);
        QVERIFY(!played.pollWasOn);
        QCOMPARE(window.levels, concat({5}, range(0, 255, 5)));
        QCOMPARE(window.form().fade().curTrans(), 260);
        QCOMPARE(window.windowOpacity(), 1.0);
        QVERIFY(window.poll()->isActive());
        QCOMPARE(window.poll()->interval(), 50);
    }

    void pollFadesOutAndBackIn() {
        ProbedWindow window;
        window.form().Form_Load();
        window.finishFade();
        const QRect outer = window.frameGeometry();

        QCOMPARE(window.pollAt(kAway), range(260, 50, -5));
        QCOMPARE(window.form().fade().curTrans(), 45);
        QCOMPARE(qRound(window.windowOpacity() * 255), 50);
        QVERIFY(window.poll()->isActive());

        QCOMPARE(window.pollAt(kAway), Levels{});  // already faint
        QCOMPARE(window.pollAt(outer.topLeft()), concat({45}, range(45, 255, 5)));
        QCOMPARE(window.windowOpacity(), 1.0);
        QCOMPARE(window.pollAt(outer.center()), Levels{260});  // already opaque
        QCOMPARE(window.windowOpacity(), 1.0);
    }

    void rightAndBottomEdgesAreOutside_data() {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<bool>("inside");
        QTest::newRow("top left corner") << 0 << 0 << true;
        QTest::newRow("last column and row") << -1 << -1 << true;  // measured from the far corner
        QTest::newRow("right edge") << 0 << -1 << false;
        QTest::newRow("bottom edge") << -1 << 0 << false;
    }

    void rightAndBottomEdgesAreOutside() {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(bool, inside);
        ProbedWindow window;
        window.form().Form_Load();
        window.finishFade();
        const QRect outer = window.frameGeometry();
        const QPoint farCorner(outer.left() + outer.width(), outer.top() + outer.height());
        const QPoint place = dx == 0 && dy == 0 ? outer.topLeft() : farCorner + QPoint(dx, dy);
        const Levels levels = window.pollAt(place);
        QCOMPARE(levels == Levels{260}, inside);
        QCOMPARE(window.form().fade().curTrans(), inside ? 260 : 45);
    }

    void requestsDuringAFadeHaveNoEffect() {
        ProbedWindow window;
        window.form().Form_Load();
        window.finishFade();
        window.pointer = kAway;
        window.levels.clear();
        window.form().Timer2_Timer();  // the fade-out begins
        for (int i = 0; i < 5; ++i) {
            window.form().FadePause_Timer();
        }
        window.form().Form_MouseMove();
        window.form().FadeIn();
        window.form().Timer2_Timer();
        window.finishFade();
        QCOMPARE(window.levels, range(260, 50, -5));
        QCOMPARE(window.form().fade().curTrans(), 45);
    }

    void setTransIgnoresLevelsOutsideOneTo255() {
        ProbedWindow window;
        window.show();
        for (int level : {0, 256, 260, -5}) {
            window.SetTrans(static_cast<std::int16_t>(level));
            QCOMPARE(window.windowOpacity(), 1.0);
        }
        window.SetTrans(1);
        QCOMPARE(qRound(window.windowOpacity() * 255), 1);
        window.SetTrans(0);
        QCOMPARE(qRound(window.windowOpacity() * 255), 1);
        window.SetTrans(255);
        window.SetTrans(255);
        QCOMPARE(window.windowOpacity(), 1.0);
    }

    void pointerMovesOverTheBackgroundFadeIn() {
        ProbedWindow window;
        window.form().Form_Load();
        window.finishFade();
        window.pollAt(kAway);  // faint
        const struct {
            const char *control;
            bool fades;
        } places[] = {
            {"Label1", false}, {"LblPrice", false}, {"TextNumPers", false}, {"BtnStart", false}};
        for (const auto &place : places) {
            auto *control = window.findChild<QWidget *>(QLatin1String(place.control));
            window.levels.clear();
            QTest::mouseMove(control, control->rect().center());
            QVERIFY2(window.levels.empty(), place.control);
        }
        window.levels.clear();
        QTest::mouseMove(&window, QPoint(100, 70));  // between the base-cost row and the display
        window.finishFade();
        QCOMPARE(window.levels, concat({45}, range(45, 255, 5)));
    }

    void aDisabledFieldPassesPointerMovesToTheWindow() {
        ProbedWindow window;
        window.form().Form_Load();
        window.finishFade();
        window.form().BtnStart_Click();
        window.pollAt(kAway);
        auto *baseCost = window.findChild<QLineEdit *>(QStringLiteral("TextBaseCost"));
        QVERIFY(!baseCost->isEnabled());
        window.levels.clear();
        QTest::mouseMove(baseCost, baseCost->rect().center());
        window.finishFade();
        QCOMPARE(window.form().fade().curTrans(), 260);
        QVERIFY(!window.levels.empty());
    }

    void longUseKeepsMemoryFlat() {
        ProbedWindow window;
        window.form().Form_Load();
        window.finishFade();
        window.form().BtnStart_Click();
        auto use = [&](int ticks, int fades) {
            for (int i = 0; i < ticks; ++i) {
                window.form().Timer1_Timer();
            }
            for (int i = 0; i < fades; ++i) {
                window.levels.clear();
                window.pollAt(i % 2 == 0 ? kAway : window.frameGeometry().center());
            }
        };
        use(200, 20);  // let the caches settle
        const long before = residentBytes();
        use(10'000, 1'000);
        const long grown = residentBytes() - before;
        qInfo("resident memory grew by %ld KiB over 10,000 ticks and 1,000 fades", grown / 1024);
        QCOMPARE(window.form().meter().elapsedTime() * 86400.0 > 10'199.0, true);
        if (!kUnderAddressSanitizer) {
            QVERIFY2(grown < 1024 * 1024, "resident memory grew by a MiB or more");
        }
    }

    void meterTicksAndClicksAreServedDuringAFade() {
        ProbedWindow window;
        window.form().Form_Load();
        QVERIFY(window.form().fade().fading());
        window.form().BtnStart_Click();
        window.form().Timer1_Timer();
        QCOMPARE(window.windowTitle(), QStringLiteral("100,01 - Tallaro"));
        QVERIFY(window.form().fade().fading());
        window.finishFade();
        QCOMPARE(window.form().fade().curTrans(), 260);
    }
};

QTEST_MAIN(WindowPresenceTest)
#include "window_presence_test.moc"
