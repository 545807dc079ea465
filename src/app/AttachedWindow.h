// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A running window that owns the keyboard, as a q905ctl command it runs for a bus call sees it.
// The command runs on the window's thread against a copy of what the keyboard holds; it does not
// talk to the keyboard itself: what it would apply it leaves with the window, which applies it
// through its session once the command has returned.

#include "app/HostState.h"

#include <filesystem>
#include <optional>

namespace q905 {

// What a command changed: the image and the table it edited, both started from the applied
// ones (the applied table stays the one it started from), and the macros when it changed them.
struct CommandResult {
    SettingsImage device;
    KeyAssignments keys;
    std::optional<MacroList> macros;
};

class AttachedWindow {
  public:
    virtual ~AttachedWindow() = default;
    // The window's data folder: profiles are read and named there.
    virtual std::filesystem::path dataFolder() const = 0;
    // Fills host with what the keyboard holds as the window knows it (both images the
    // applied one, the applied table) and the window's macros.
    virtual void startingPoint(HostState& host) = 0;
    // The command's change, to be applied once the command has returned; the command's exit code
    // and output then wait for the apply.
    virtual void applyLater(CommandResult result) = 0;
    // The keyboard's factory reset, the same way.
    virtual void resetLater() = 0;
};

} // namespace q905
