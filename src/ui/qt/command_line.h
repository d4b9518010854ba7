// command_line.h
// The program's command line: its own options, --help and --version, and
// the options Qt takes for every program of its (-display, -platform,
// -style, ...), which are left for Qt; anything else is refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class CommandAction { Run, Help, Version, Refuse };

struct Command {
    CommandAction action = CommandAction::Run;
    std::string problem;  // why it is refused, for one line
};

// Reads the arguments after the program's name.
[[nodiscard]] Command readCommandLine(int argc, const char *const argv[]);

// What --help prints.
extern const char *const kCommandHelp;

// A text as one line of the program's may show it: control characters as
// '?', at most the bytes given.
[[nodiscard]] std::string printable(std::string_view text, std::size_t most);
