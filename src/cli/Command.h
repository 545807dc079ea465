// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A q905ctl command: its name, a usage line and what it does.

#include "app/ProgramOptions.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace q905 {

namespace exitcode {
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1; // no keyboard, a transfer or file that failed
inline constexpr int kUsage = 2;   // bad input: nothing was applied or written
} // namespace exitcode

struct WindowCommand;

struct CliContext {
    const CliOptions& options;
    std::ostream& out;
    std::ostream& err;
    // Set when a running window runs the command: the window talks to the keyboard.
    WindowCommand* window = nullptr;
};

struct CommandInfo {
    const char* name;
    const char* usage;
    int (*run)(CliContext& context, std::span<const std::string> args);
};

// Every command, in the order the usage lists them.
std::span<const CommandInfo> allCommands();

void printUsage(std::ostream& out);

} // namespace q905
