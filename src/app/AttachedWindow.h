// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A running window that owns the keyboard, as a q905ctl command it runs on the command's
// behalf sees it. The command works on a copy of what the keyboard holds, talks to the keyboard
// through the window's session, and hands its result back for the window to take in.

#include "app/HostState.h"
#include "app/KeyboardSession.h"

namespace q905 {

// A command's host state before and after it ran.
struct CommandResult {
    SettingsImage device;  // the command's edits, applied or not
    SettingsImage applied; // what the keyboard holds now
    DeviceVersion version;
    KeyAssignments keys;
    std::optional<MacroList> macros; // only when the command changed them
};

class AttachedWindow {
  public:
    virtual ~AttachedWindow() = default;
    virtual KeyboardSession& session() = 0;
    // The window's data folder: profiles are read and named there.
    virtual std::filesystem::path dataFolder() const = 0;
    // Fills host with what the keyboard holds as the window knows it (both images the
    // applied one, the applied table) and the window's macros. Called on the command's thread.
    virtual void startingPoint(HostState& host) = 0;
    // The window takes what the command changed (its own edits not yet applied stay pending
    // and win over the command's), shows it and saves its files; the save's result.
    virtual Status takeResult(const CommandResult& result) = 0;
};

} // namespace q905
