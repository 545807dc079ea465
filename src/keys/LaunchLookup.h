// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which launch action runs when the keyboard reports a key code.

#include "keys/KeyAssignmentTable.h"

#include <cstdint>
#include <optional>
#include <string>

namespace q905 {

struct LaunchAction {
    std::size_t recordIndex = 0;
    FunctionGroup group = FunctionGroup::PlayMusic;
    std::string path; // UTF-8
};

// The first record of keys 0..112, in index order, of a launch group whose byte 0 is the code. Two
// keys share code 0x5D (Fn and App): the lower index wins.
std::optional<LaunchAction> findLaunchAction(const KeyAssignmentTable& table, std::uint8_t code);

struct LaunchTarget {
    std::string workingFolder;
    std::string file; // empty when the path has no "/": nothing is opened
};

// Splits a launch path at its last "/".
LaunchTarget splitLaunchPath(const std::string& path);

} // namespace q905
