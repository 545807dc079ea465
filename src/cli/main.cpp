// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/WindowHandOff.h"

#include <iostream>

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
    // A window that owns the keyboard runs the command itself: the change shows in it at once,
    // and neither side writes over the other's. list and autostart leave the keyboard alone.
    if (name != "list" && name != "autostart") {
        if (const auto answer = handOffToWindow(options, args)) {
            std::cout << answer->out;
            std::cerr << answer->err;
            return answer->exitCode;
        }
    }
    CliContext context{options, std::cout, std::cerr};
    for (const CommandInfo& command : allCommands()) {
        if (name == command.name)
            return command.run(context, std::span(options.arguments).subspan(1));
    }
    return refuseUsage(std::cerr, "unknown command " + name);
}
