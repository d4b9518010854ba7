#include "ui/qt/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Qt's own options, as QGuiApplication, QApplication and the X11 platform
// take them, with one dash or two: those that take the next argument (or
// "=VALUE") and those that stand alone.
constexpr std::array<std::string_view, 16> kQtWithValue{"platform",      "platformpluginpath",
                                                        "platformtheme", "plugin",
                                                        "qmljsdebugger", "qwindowgeometry",
                                                        "qwindowicon",   "qwindowtitle",
                                                        "session",       "display",
                                                        "geometry",      "title",
                                                        "name",          "visual",
                                                        "style",         "stylesheet"};
constexpr std::array<std::string_view, 5> kQtAlone{"reverse", "widgetcount", "nograb", "dograb",
                                                   "sync"};

template <std::size_t N>
bool holds(const std::array<std::string_view, N> &names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// An argument as one line may show it.
std::string shown(std::string_view argument) {
    return printable(argument, 40);
}

}  // namespace

std::string printable(std::string_view text, std::size_t most) {
    std::string shown;
    for (const char c : text.substr(0, most)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte < 0x20 || byte == 0x7f ? '?' : c;
    }
    return shown;
}

const char *const kCommandHelp =
    "Usage: tallaro [OPTION]...\n"
    "Show, while a meeting runs, what it has cost so far: a small window that\n"
    "stays above other windows and fades while the pointer is away.\n"
    "\n"
    "  -h, --help       print this help and end\n"
    "      --version    print the version and end\n"
    "\n"
    "Qt's options for every program pass on to Qt, such as -display :1,\n"
    "-platform xcb or -style fusion. The manual page, man tallaro, has the details.\n";

Command readCommandLine(int argc, const char *const argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            return {CommandAction::Help, {}};
        }
        if (argument == "--version") {
            return {CommandAction::Version, {}};
        }
        std::string_view name = argument;
        if (name.starts_with("--")) {
            name.remove_prefix(2);
        } else if (name.starts_with("-") && name.size() > 1) {
            name.remove_prefix(1);
        } else {
            return {CommandAction::Refuse,
                    "it takes no argument such as '" + shown(argument) + "'"};
        }
        const std::size_t equals = name.find('=');
        const std::string_view bare = name.substr(0, equals);
        if (holds(kQtWithValue, bare)) {
            if (equals == std::string_view::npos && ++i >= argc) {
                return {CommandAction::Refuse,
                        "the option '" + shown(argument) + "' needs a value"};
            }
        } else if (!holds(kQtAlone, name)) {
            return {CommandAction::Refuse, "unknown option '" + shown(argument) + "'"};
        }
    }
    return {};
}
