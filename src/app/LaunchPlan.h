// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window does when the keyboard asks for a key's launch action: start a program
// detached in its own folder, or open a file, music file or folder with its default application.

#include "firmware/Launcher.h"
#include "keys/KeyAssignmentTable.h"

#include <cstdint>
#include <string>

namespace q905 {

struct LaunchPlan {
    enum class Kind { Nothing, StartProgram, OpenWithDefault };
    Kind kind = Kind::Nothing;
    std::string target;        // the program, file or folder
    std::string workingFolder; // the part of the stored path before its last "/"
};

// The first record of a launch group that carries the code decides. A path without a "/" or
// ending in one names no file, and a relative path has no meaning for a program started from
// anywhere: both open nothing.
LaunchPlan planLaunch(const KeyAssignmentTable& table, std::uint8_t keyCode);

// Carries the plan out.
LaunchOutcome runLaunchPlan(const LaunchPlan& plan, Launcher& launcher);

} // namespace q905
