// The yardsticks: an empty Qt window of the same size, built the same way.
// With --text it carries one label and one field, the least a window with
// text needs; with --timers it wakes as often as Tallaro does (every 50 ms
// and every second) but does nothing then; with --ticking as well, every
// second writes a new amount into a large red label (where Tallaro shows
// its amount) and into the caption, the least a window that counts in sight
// does.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(217, 107);
    if (arguments.contains(QStringLiteral("--text"))) {
        auto *label = new QLabel(QStringLiteral("Personen"), &window);
        label->setGeometry(4, 8, 77, 13);
        auto *field = new QLineEdit(QStringLiteral("1"), &window);
        field->setGeometry(92, 4, 57, 19);
    }
    QLabel *amount = nullptr;
    if (arguments.contains(QStringLiteral("--ticking"))) {
        amount = new QLabel(QStringLiteral("0,00"), &window);
        amount->setGeometry(4, 72, 101, 29);
        amount->setFixedSize(amount->size());
        QFont font = amount->font();
        font.setPointSizeF(18);
        font.setBold(true);
        amount->setFont(font);
        QPalette palette = amount->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        amount->setPalette(palette);
    }

    QTimer poll;
    QTimer tick;
    int ticks = 0;
    if (arguments.contains(QStringLiteral("--timers"))) {
        QObject::connect(&poll, &QTimer::timeout, &window, [] {});
        QObject::connect(&tick, &QTimer::timeout, &window, [&] {
            if (amount != nullptr) {
                const QString text = QString::number(100 + ++ticks / 72.0, 'f', 2);
                amount->setText(text);
                window.setWindowTitle(text + QStringLiteral(" - Bare"));
            }
        });
        poll.start(50);
        if (amount != nullptr) {
            tick.setTimerType(Qt::PreciseTimer);  // as Tallaro's meter
        }
        tick.start(1000);
    }
    window.show();
    return app.exec();
}
