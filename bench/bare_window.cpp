// The yardsticks: an empty Qt window of the same size, built the same way.
// With --text it carries one label and one field, the least a window with
// text needs; with --timers it wakes as often as Tallaro does (every 50 ms
// and every second) but does nothing then.
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
    QTimer poll;
    QTimer tick;
    if (arguments.contains(QStringLiteral("--timers"))) {
        QObject::connect(&poll, &QTimer::timeout, &window, [] {});
        QObject::connect(&tick, &QTimer::timeout, &window, [] {});
        poll.start(50);
        tick.start(1000);
    }
    window.show();
    return app.exec();
}
