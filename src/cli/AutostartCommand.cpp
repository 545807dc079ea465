// SPDX-License-Identifier: GPL-3.0-or-later
// autostart on | off | show: whether the desktop starts q905 in the background at login, for
// desktops without a tray to choose it from.

#include "app/Autostart.h"
#include "base/TextSafety.h"
#include "cli/Command.h"
#include "cli/Output.h"

#include <ostream>

namespace q905 {

int runAutostart(CliContext& context, std::span<const std::string> args) {
    const std::string action = args.size() == 1 ? args[0] : "";
    if (action != "on" && action != "off" && action != "show")
        return refuseUsage(context.err, "autostart takes on, off or show");
    const std::filesystem::path entry = autostartEntryPath();
    if (action == "show") {
        context.out << (autostartEnabled(entry) ? "on" : "off");
        if (!entry.empty())
            context.out << "  (" << escapeForTerminal(entry.string()) << ")";
        context.out << '\n';
        return exitcode::kOk;
    }
    if (const Status done = setAutostart(entry, action == "on"); !done) {
        printError(context.err, done.message());
        return exitcode::kFailure;
    }
    return exitcode::kOk;
}

} // namespace q905
