// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Command.h"
#include "cli/DeviceSession.h"

#include <string>

namespace q905 {

// Opens the keyboard; on failure prints why and returns the exit code to end with.
[[nodiscard]] std::optional<int> openKeyboard(DeviceSession& session, CliContext& context);

// Reports what the emulated keyboard rejected; returns the exit code to end with.
[[nodiscard]] int finish(DeviceSession& session, CliContext& context, int exitCode);

// The line that says no keyboard was found, with what to check; list is the command that lists
// the interfaces, so it does not point to itself.
std::string noKeyboardText(bool fromList);

void printSummary(const SettingsImage& image, DeviceVersion version, std::ostream& out);

} // namespace q905
