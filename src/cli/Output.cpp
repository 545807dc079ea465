// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Output.h"

#include "base/TextSafety.h"
#include "cli/Command.h"

#include <ostream>

namespace q905 {

void printError(std::ostream& err, std::string_view message) {
    err << "q905ctl: " << escapeForTerminal(message) << '\n';
}

void printWarning(std::ostream& err, std::string_view message) {
    err << "q905ctl: warning: " << escapeForTerminal(message) << '\n';
}

int refuseUsage(std::ostream& err, std::string_view message) {
    err << "q905ctl: " << escapeForTerminal(message) << " (see q905ctl --help)\n";
    return exitcode::kUsage;
}

} // namespace q905
