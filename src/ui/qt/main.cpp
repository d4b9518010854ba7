// The program: one window, open until the user closes it.
#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

#include "ui/qt/main_window.h"
#include "ui/qt/qt_locale.h"
#include "ui/qt/version.h"

namespace {

bool isSet(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without this check Qt aborts with a core dump when no display is there.
bool hasDisplay() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char *argv[]) {
    if (!hasDisplay()) {
        std::fputs(
            "tallaro: no display to open the window on (DISPLAY is not set); "
            "to run it without a screen: xvfb-run -a tallaro\n",
            stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallaro"));
    QApplication::setApplicationVersion(QStringLiteral(TALLARO_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(TALLARO_APP_ID));
    FrmTallaro window(tallaro::ui::numberLocaleOf(QLocale::system()));
    window.placeOnScreen();
    window.form().Form_Load();
    return app.exec();
}
