// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WindowHandOff.h"

#include "cli/Command.h"
#include "cli/Output.h"
#include "platform/KeyboardLock.h"
#include "platform/Paths.h"

#include <sstream>

namespace q905 {

namespace {

// The options the window's own keyboard and trace make meaningless for a command it runs.
std::string windowOnlyRefusal(const CliOptions& options) {
    const CliOptions defaults;
    std::string option;
    if (options.traceFile)
        option = "--trace";
    else if (!options.simulateFaults.empty())
        option = "--simulate-fault";
    else if (options.simulateLatency != defaults.simulateLatency)
        option = "--simulate-latency";
    else if (options.simulateMajor != defaults.simulateMajor ||
             options.simulateMinor != defaults.simulateMinor)
        option = "--simulate-firmware";
    if (option.empty())
        return {};
    return option + " cannot apply to the keyboard the q905 window is using. Leave out " + option +
           ", or close the window first.";
}

} // namespace

std::optional<bus::WindowCall> windowCallFor(const CliOptions& options) {
    // list and autostart leave the keyboard alone.
    if (options.arguments.empty() || options.arguments.front() == "list" ||
        options.arguments.front() == "autostart")
        return std::nullopt;
    const auto lock = KeyboardLock::lockFile(options.simulate, options.simulateFile);
    if (!lock)
        return std::nullopt;
    std::error_code error;
    bus::WindowCall call;
    call.keyboard = lock->string();
    call.dataFolder = std::filesystem::absolute(dataFolder(options.dataDir), error).string();
    // The options are passed as the window reads them, with a marker for those it refuses.
    if (const std::string refusal = windowOnlyRefusal(options); !refusal.empty())
        call.arguments.push_back("--refused=" + refusal);
    if (options.noApply)
        call.arguments.push_back("--no-apply");
    if (options.json)
        call.arguments.push_back("--json");
    if (options.acceptLaunchActions)
        call.arguments.push_back("--accept-launch-actions");
    call.arguments.push_back("--");
    call.arguments.insert(call.arguments.end(), options.arguments.begin(), options.arguments.end());
    // "profile import|export FILE": FILE is relative to q905ctl's working folder.
    const std::size_t command = call.arguments.size() - options.arguments.size();
    std::vector<std::string>& args = call.arguments;
    if (args.size() >= command + 3 && args[command] == "profile" &&
        (args[command + 1] == "import" || args[command + 1] == "export"))
        args[command + 2] = std::filesystem::absolute(args[command + 2], error).string();
    return call;
}

bool onlyReads(const std::vector<std::string>& arguments) {
    std::size_t at = 0;
    while (at < arguments.size() && arguments[at].starts_with("--"))
        ++at;
    if (at >= arguments.size())
        return true;
    const std::string& name = arguments[at];
    const std::string sub = at + 1 < arguments.size() ? arguments[at + 1] : std::string();
    return name == "dump" || name == "read" || (name == "profile" && sub == "show") ||
           (name == "macro" && (sub == "list" || sub == "show"));
}

bool sameDataFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    const auto canonical = [&error](const std::filesystem::path& path) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    };
    return canonical(a) == canonical(b);
}

CommandAnswer runHandedCommand(const std::vector<std::string>& arguments, WindowCommand& window) {
    std::ostringstream out, err;
    std::vector<std::string> words;
    std::string refused;
    for (const std::string& argument : arguments) {
        if (argument.starts_with("--refused="))
            refused = argument.substr(10);
        else
            words.push_back(argument);
    }
    if (!refused.empty())
        return {exitcode::kUsage, {}, "q905ctl: " + refused + "\n"};
    const ParseResult parsed = parseCliOptions(words);
    if (!parsed.options || parsed.options->arguments.empty())
        return {exitcode::kUsage,
                {},
                "q905ctl: " + (parsed.options ? std::string("no command given") : parsed.error) +
                    "\n"};
    const CliOptions& options = *parsed.options;
    if (options.noApply)
        return {exitcode::kFailure,
                {},
                "q905ctl: the q905 window is using the keyboard and these files; --no-apply "
                "would change them behind its back. Leave out --no-apply to make the change "
                "through the window, or close the window first.\n"};
    CliContext context{options, out, err, &window};
    const std::string& name = options.arguments.front();
    for (const CommandInfo& info : allCommands()) {
        if (name == info.name && name != "list") {
            const int exitCode = info.run(context, std::span(options.arguments).subspan(1));
            return {exitCode, out.str(), err.str()};
        }
    }
    (void)refuseUsage(err, "unknown command " + name);
    return {exitcode::kUsage, out.str(), err.str()};
}

} // namespace q905
