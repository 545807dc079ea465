// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/WindowHandOff.h"

#include <iostream>

#ifndef Q905_HAVE_DBUS
// Built without Qt's D-Bus module: no window can be reached, every command runs here.
q905::bus::WindowAnswer q905::bus::callWindow(const WindowCall&) {
    return {};
}
#endif

int main(int argc, char** argv) {
    using namespace q905;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = parseCliOptions(args);
    if (!parsed.options)
        return refuseUsage(std::cerr, parsed.error);
    const CliOptions& options = *parsed.options;
    if (options.version) {
        std::cout << "q905ctl " << programVersion() << '\n';
        return exitcode::kOk;
    }
    if (options.help) {
        printUsage(std::cout);
        return exitcode::kOk;
    }
    if (options.arguments.empty())
        return refuseUsage(std::cerr, "no command given");
    const std::string& name = options.arguments.front();
    // A window that owns the keyboard runs the command itself, on the session bus: the change
    // shows in it at once, and neither side writes over the other's.
    if (const auto call = windowCallFor(options)) {
        const bus::WindowAnswer answer = bus::callWindow(*call);
        if (answer.outcome != bus::WindowAnswer::Outcome::NoWindow) {
            // A window that went away may have run the command: it is never run twice.
            std::cout << answer.out;
            std::cerr << answer.err;
            return answer.outcome == bus::WindowAnswer::Outcome::Answered ? answer.exitCode
                                                                          : exitcode::kFailure;
        }
    }
    CliContext context{options, std::cout, std::cerr};
    for (const CommandInfo& command : allCommands()) {
        if (name == command.name)
            return command.run(context, std::span(options.arguments).subspan(1));
    }
    return refuseUsage(std::cerr, "unknown command " + name);
}
