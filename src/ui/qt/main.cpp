// The program: one window, open until the user closes it.
#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#if defined(TALLARO_HAVE_XCB)
#include <xcb/xcb.h>
#endif

#include "ui/qt/main_window.h"
#include "ui/qt/qt_locale.h"
#include "ui/qt/version.h"

namespace {

const char *variable(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// Why the window cannot be shown, or nothing when a display is there. Qt
// itself would end the program with an abort and a core dump.
std::optional<std::string> displayProblem() {
    const char *platform = variable("QT_QPA_PLATFORM");
    const char *display = variable("DISPLAY");
    if (platform == nullptr && display == nullptr && variable("WAYLAND_DISPLAY") == nullptr) {
        return "no display to open the window on (DISPLAY is not set)";
    }
#if defined(TALLARO_HAVE_XCB)
    const bool onX = platform != nullptr ? std::string_view(platform) == "xcb"
                                         : variable("WAYLAND_DISPLAY") == nullptr;
    if (onX && display != nullptr) {
        xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
        const bool reached = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (!reached) {
            return std::string("cannot reach the display ") + display;
        }
    }
#endif
    return std::nullopt;
}

}  // namespace

int main(int argc, char *argv[]) {
    if (const std::optional<std::string> problem = displayProblem()) {
        std::fprintf(stderr, "tallaro: %s; to run it without a screen: xvfb-run -a tallaro\n",
                     problem->c_str());
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
