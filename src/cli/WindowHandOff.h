// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// q905ctl while a window owns the keyboard: the command goes to the window over the session
// bus, and the window runs it on its own thread, one command at a time, against what the
// keyboard holds as the window knows it, then applies its change through its own session.

#include "app/AttachedWindow.h"
#include "app/ProgramOptions.h"
#include "app/WindowActions.h"
#include "platform/KeyboardBus.h"

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

// The window's side: runs the command against window. A command with options that cannot
// apply to a running window is refused. A command that changes something leaves the change with
// window (applyLater, resetLater): its answer stands only once that has gone through.
CommandAnswer runHandedCommand(const std::vector<std::string>& arguments, AttachedWindow& window);

// What reset says about a factory reset the keyboard's session made (read: the read back, or the
// version read after it); its exit code.
int reportFactoryReset(const FactoryResetOutcome& outcome, ReadResult read, HostState& host,
                       std::ostream& out, std::ostream& err);

// Whether a command for dataFolder is the window's to run.
bool sameDataFolder(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace q905
