// The program: one window, open until the user closes it.
#include <QApplication>
#include <QLocale>
#include <QString>
#include <QTimer>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#if defined(TALLARO_HAVE_XCB)
#include <xcb/xcb.h>
#endif

#include "ui/qt/command_line.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_locale.h"
#include "ui/qt/version.h"
#include "ui/qt/x11/x11_presence.h"
#if defined(TALLARO_HAVE_LAYER_SHELL)
#include "ui/qt/wayland/layer_frame.h"
#include "ui/qt/wayland/wayland_presence.h"
#endif

namespace {

// How long after start a compositing manager may come before the program
// says that none draws its fades.
constexpr int kCompositorGraceMs = 1000;

const char *variable(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

bool xDisplayAnswers() {
#if defined(TALLARO_HAVE_XCB)
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
#else
    return false;
#endif
}

// Whether the window goes natively onto a Wayland compositor that offers
// layer-shell, with presence of its own: in a Wayland session, unless the
// user has chosen a platform other than Wayland, in a build that has the road.
bool takesLayerShell() {
#if defined(TALLARO_HAVE_LAYER_SHELL)
    const char *platform = variable("QT_QPA_PLATFORM");
    return variable("WAYLAND_DISPLAY") != nullptr &&
           (platform == nullptr || std::string_view(platform) == "wayland") &&
           WaylandPresence::compositorOffersLayerShell();
#else
    return false;
#endif
}

// Chooses the window system, and says why the window cannot be shown when it
// cannot (Qt itself would end the program with an abort and a core dump).
// Staying on top, fading and the pointer test come natively from a Wayland
// compositor with layer-shell; elsewhere they need X11, so an X display that
// answers is taken, in a Wayland session too (through XWayland), unless the
// user has chosen a platform.
std::optional<std::string> choosePlatform(bool layerShell) {
    const char *platform = variable("QT_QPA_PLATFORM");
    const char *display = variable("DISPLAY");
    const char *wayland = variable("WAYLAND_DISPLAY");
    if (platform == nullptr && display == nullptr && wayland == nullptr) {
        return "no display to open the window on (DISPLAY is not set)";
    }
    if (layerShell) {
        setenv("QT_QPA_PLATFORM", "wayland", 0);
        return std::nullopt;
    }
    const bool wantsX = platform != nullptr ? std::string_view(platform) == "xcb" : true;
    if (!wantsX || display == nullptr) {
        return std::nullopt;
    }
    if (xDisplayAnswers()) {
        if (platform == nullptr) {
            setenv("QT_QPA_PLATFORM", "xcb", 1);
        }
        // The window's repaints are a few kilobytes: sent plainly, they cost
        // the X server no shared-memory segment and the program no
        // completion event, and so no wake-up, after each.
        setenv("QT_XCB_NO_MITSHM", "1", 0);
        return std::nullopt;
    }
    if (platform == nullptr && wayland != nullptr) {
        return std::nullopt;  // Wayland alone, without presence
    }
    return std::string("cannot reach the display ") + display;
}

// Says, in one line, what the desktop cannot give the window.
void tellWhatIsMissing(bool presence) {
    if (!presence) {
        std::fprintf(stderr,
                     "tallaro: staying on top and fading need X11, which the %s platform is not; "
                     "the meter works without them (in a Wayland session XWayland gives them: "
                     "leave DISPLAY set and QT_QPA_PLATFORM unset)\n",
                     qUtf8Printable(QGuiApplication::platformName()));
    } else if (X11Presence::leavesGoUnheard()) {
        std::fputs(
            "tallaro: KWin on Wayland does not tell X11 windows when the pointer glides "
            "off them, so this one may stay opaque until the pointer crosses another X11 "
            "window; it fades in the Plasma (X11) session, or natively with a package "
            "built with the Wayland road, such as Debian 13's\n",
            stderr);
    } else if (const std::optional<std::string> name = X11Presence::windowManagerWithoutAbove()) {
        const std::string shown = printable(*name, 64);
        std::fprintf(stderr,
                     "tallaro: the window manager%s%s%s cannot keep windows above others, so "
                     "other windows may cover this one; the meter works all the same\n",
                     shown.empty() ? "" : " (", shown.c_str(), shown.empty() ? "" : ")");
    }
}

// Under a locale whose characters are not UTF-8 (LC_ALL=C, say), Qt takes
// that locale's UTF-8 form for characters by itself, and from Qt 6.8 on says
// so in four lines at every start. Numbers keep the locale's conventions
// either way (they are read from the environment), so the notice tells the
// user nothing about this program: it alone is kept off stderr while the
// application is made. Qt's other messages pass as ever.
QtMessageHandler qtHandler = nullptr;

void withoutLocaleNotice(QtMsgType type, const QMessageLogContext &context,
                         const QString &message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("Detected locale \"")) &&
        message.contains(QLatin1String("has switched to"))) {
        return;
    }
    qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char *argv[]) {
    // Answered before any display is looked for.
    const Command command = readCommandLine(argc, argv);
    switch (command.action) {
        case CommandAction::Help:
            std::fputs(kCommandHelp, stdout);
            return EXIT_SUCCESS;
        case CommandAction::Version:
            std::printf("tallaro %s\n", TALLARO_VERSION);
            return EXIT_SUCCESS;
        case CommandAction::Refuse:
            std::fprintf(stderr, "tallaro: %s; tallaro --help lists the options\n",
                         command.problem.c_str());
            return 2;
        case CommandAction::Run:
            break;
    }
    const bool layerShell = takesLayerShell();
    if (const std::optional<std::string> problem = choosePlatform(layerShell)) {
        std::fprintf(stderr, "tallaro: %s; to run it without a screen: xvfb-run -a tallaro\n",
                     problem->c_str());
        return EXIT_FAILURE;
    }
    qtHandler = qInstallMessageHandler(withoutLocaleNotice);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    QApplication::setApplicationName(QStringLiteral("Tallaro"));
    QApplication::setApplicationVersion(QStringLiteral(TALLARO_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(TALLARO_APP_ID));
#if defined(TALLARO_HAVE_LAYER_SHELL)
    if (layerShell && QGuiApplication::platformName() == QLatin1String("wayland")) {
        auto backend = std::make_unique<WaylandPresence>();
        const bool drawsOpacity = !backend->compositorFades();
        // The frame holds the window as its child, and ends it with itself.
        auto *window =
            new FrmTallaro(tallaro::ui::numberLocaleOf(QLocale::system()), std::move(backend));
        LayerFrame frame(window, QStringLiteral(TALLARO_APP_ID), drawsOpacity);
        frame.placeClientAt(window->placement().topLeft());
        window->form().Form_Load();
        return app.exec();
    }
#endif
    const bool presence = QGuiApplication::platformName() == QLatin1String("xcb");
    tellWhatIsMissing(presence);
    FrmTallaro window(tallaro::ui::numberLocaleOf(QLocale::system()), presence);
    window.placeOnScreen();
    window.form().Form_Load();
    // A compositing manager started with the session may take the screen a
    // moment after the program: the line says that none has come a second
    // after the window did.
    QTimer::singleShot(kCompositorGraceMs, &window, [&window] {
        if (window.fadesShown() == false) {
            std::fputs(
                "tallaro: no compositing manager runs, so the window cannot fade; turn on "
                "the window manager's compositor or start one, such as picom; the meter "
                "works all the same\n",
                stderr);
        }
    });
    return app.exec();
}
