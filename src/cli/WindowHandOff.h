// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// q905ctl while a window owns the keyboard: the command is handed to the window, which runs it
// with its own session and answers with what the command printed and its exit code.

#include "app/AttachedWindow.h"
#include "app/ProgramOptions.h"
#include "platform/CommandChannel.h"

#include <optional>
#include <string>
#include <vector>

namespace q905 {

// q905ctl's side: the window's answer, or nullopt when no window runs on this keyboard and
// data folder (the command then runs by itself).
std::optional<CommandAnswer> handOffToWindow(const CliOptions& options,
                                             const std::vector<std::string>& arguments);

// The window's side, on a thread of the window's: runs the command against window.
CommandAnswer runHandedCommand(const HandedCommand& command, AttachedWindow& window);

// Whether a command for dataFolder is the window's to run.
bool sameDataFolder(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace q905
