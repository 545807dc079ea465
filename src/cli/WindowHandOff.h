// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// q905ctl while a window owns the keyboard: the command goes to the window over the session
// bus, and the window runs it on its own thread, one command at a time, against what the
// keyboard holds as the window knows it, then applies its change through its own session.

#include "app/HostState.h"
#include "app/ProgramOptions.h"
#include "platform/KeyboardBus.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace q905 {

// q905ctl's side: the call for the window, every path in it made absolute here (the window
// has another working folder); nullopt when no window can serve the command (list, or an
// emulated keyboard without a file, which no other process reaches).
std::optional<bus::WindowCall> windowCallFor(const CliOptions& options);

// What the window answers a handed command with.
struct CommandAnswer {
    int exitCode = 1;
    std::string out;
    std::string err;
};

// Whether the command only looks: it is answered while a dialog edits the state.
bool onlyReads(const std::vector<std::string>& arguments);

// A command the running window runs on its own thread: where it starts from, and what it leaves
// for the window to do once it has returned. The command does not talk to the keyboard: its exit
// code and output stand only once the window's apply (or reset) has gone through.
struct WindowCommand {
    std::filesystem::path dataFolder; // profiles are read and named there
    // Fills a host with what the keyboard holds as the window knows it (both images the applied
    // one, the applied table) and the window's macros.
    std::function<void(HostState&)> startingPoint;
    std::optional<CommandResult> change;
    bool reset = false;
};

// The window's side: runs the command for window. A command with options that cannot apply to
// a running window is refused.
CommandAnswer runHandedCommand(const std::vector<std::string>& arguments, WindowCommand& window);

// What reset says about a factory reset the keyboard's session made (read: the read back, or the
// version read after it); its exit code.
int reportFactoryReset(const FactoryResetOutcome& outcome, ReadResult read, HostState& host,
                       std::ostream& out, std::ostream& err);

// Whether a command for dataFolder is the window's to run.
bool sameDataFolder(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace q905
