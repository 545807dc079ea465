// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WindowHandOff.h"

#include "cli/Command.h"
#include "cli/Output.h"
#include "platform/KeyboardLock.h"
#include "platform/Paths.h"

#include <sstream>

namespace q905 {

namespace {

// The commands that name a file by a path relative to q905ctl's working folder.
void makeProfilePathAbsolute(CliOptions& options, const std::filesystem::path& workingFolder) {
    std::vector<std::string>& args = options.arguments;
    if (args.size() >= 3 && args[0] == "profile" && (args[1] == "import" || args[1] == "export")) {
        const std::filesystem::path file = args[2];
        if (file.is_relative())
            args[2] = (workingFolder / file).string();
    }
}

} // namespace

bool sameDataFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const auto canonical = [&error](const std::filesystem::path& path) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    };
    return canonical(a) == canonical(b);
}

std::optional<CommandAnswer> handOffToWindow(const CliOptions& options,
                                             const std::vector<std::string>& arguments) {
    const auto lock = KeyboardLock::lockFile(options.simulate, options.simulateFile);
    if (!lock)
        return std::nullopt;
    const std::filesystem::path socket = commandSocketPath(*lock);
    std::error_code error;
    if (!std::filesystem::exists(socket, error))
        return std::nullopt;
    HandedCommand command{std::filesystem::absolute(dataFolder(options.dataDir), error),
                          std::filesystem::current_path(error), arguments};
    auto answer = handToWindow(socket, command);
    if (!answer || answer->exitCode == CommandAnswer::kDeclined)
        return std::nullopt;
    return answer;
}

CommandAnswer runHandedCommand(const HandedCommand& command, AttachedWindow& window) {
    std::ostringstream out, err;
    const ParseResult parsed = parseCliOptions(command.arguments);
    if (!parsed.options || parsed.options->arguments.empty())
        return {exitcode::kUsage, {}, "q905ctl: " + parsed.error + "\n"};
    CliOptions options = *parsed.options;
    if (options.noApply)
        return {exitcode::kFailure, {},
                "q905ctl: the q905 window is using the keyboard and these files; --no-apply "
                "would change them behind its back. Leave out --no-apply to make the change "
                "through the window, or close the window first.\n"};
    makeProfilePathAbsolute(options, command.workingFolder);
    CliContext context{options, out, err, &window};
    const std::string& name = options.arguments.front();
    for (const CommandInfo& info : allCommands()) {
        if (name == info.name) {
            const int exitCode =
                info.run(context, std::span(options.arguments).subspan(1));
            return {exitCode, out.str(), err.str()};
        }
    }
    (void)refuseUsage(err, "unknown command " + name);
    return {exitcode::kUsage, out.str(), err.str()};
}

} // namespace q905
