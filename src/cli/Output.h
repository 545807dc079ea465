// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What q905ctl says about a refusal or a failure: one line on standard error, escaped, so that
// nothing taken from an argument, a file or a file name can forge a line or drive the terminal.

#include <iosfwd>
#include <string_view>

namespace q905 {

// "q905ctl: MESSAGE".
void printError(std::ostream& err, std::string_view message);
// "q905ctl: warning: MESSAGE": something was taken, but the user should know.
void printWarning(std::ostream& err, std::string_view message);
// A command line q905ctl cannot take, as --help would have told: the reason and a pointer to
// --help, on one line. Returns the exit code to end with.
[[nodiscard]] int refuseUsage(std::ostream& err, std::string_view message);

} // namespace q905
