// SPDX-License-Identifier: GPL-3.0-or-later
// profile export | import | rename | show: what the profile dialog does, from the shell.

#include "base/TextSafety.h"
#include "cli/HostSession.h"
#include "cli/Output.h"
#include "keys/CommitAssignment.h"
#include "platform/Paths.h"
#include "profiles/ProfileActions.h"
#include "profiles/ProfileFiles.h"

#include <ostream>

namespace q905 {

namespace {

int report(CliContext& context, const ProfileResult& result) {
    if (result.ok())
        return exitcode::kOk;
    printError(context.err, result.message);
    const bool badInput =
        result.status == ProfileStatus::BadName || result.status == ProfileStatus::WrongSize ||
        result.status == ProfileStatus::Unreadable || result.status == ProfileStatus::NoProfile ||
        result.status == ProfileStatus::Declined;
    return badInput ? exitcode::kUsage : exitcode::kFailure;
}

int show(CliContext& context) {
    HostState host(dataFolder(context.options.dataDir));
    ProfilePathTable paths;
    const auto current = listCurrentProfile(profileFolder(host.dataFolder()), paths);
    if (!current) {
        context.out << "no current profile\n";
        return exitcode::kOk;
    }
    // A file put into the folder by hand can name a profile anything.
    context.out << escapeForTerminal(current->name) << "  ("
                << escapeForTerminal(current->path.string()) << ")\n";
    return exitcode::kOk;
}

} // namespace

int runProfile(CliContext& context, std::span<const std::string> args) {
    const std::string action = args.empty() ? "" : args[0];
    if (action == "show" && args.size() == 1)
        return show(context);
    if (args.size() != 2 || (action != "export" && action != "import" && action != "rename"))
        return refuseUsage(context.err,
                           "profile takes export FILE, import FILE, rename NAME or show");
    const std::string& argument = args[1];
    // A profile is named after the file exported or imported, or by rename. A name is shown in
    // lists and on terminals, where a control character in it would break a line or drive the
    // terminal: such a name is refused rather than stored.
    const std::string name =
        action == "rename" ? argument : profileNameFromFile(std::filesystem::path(argument));
    if (hasControlCharacters(name))
        return refuseUsage(context.err,
                           "a profile name cannot contain control characters: " + name);
    HostState probe(dataFolder(context.options.dataDir));
    const auto folder = profileFolder(probe.dataFolder());
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    ProfilePathTable paths;
    listCurrentProfile(folder, paths);

    if (action == "rename")
        return report(context, renameCurrentProfile(folder, argument, paths));

    // Export writes the state the program holds after start-up (keymap.bin with the keyboard
    // read over it); import loads a profile into the image and the table and applies it.
    HostSession session(context);
    if (const auto failed = session.start())
        return *failed;
    if (action == "export") {
        const int code = report(context, exportProfile(folder, argument, session.image(),
                                                       session.host().keys().table(), paths));
        const int finished = session.finishReading();
        return code != exitcode::kOk ? code : finished;
    }
    std::string currentName;
    {
        HostState& host = session.host();
        std::lock_guard lock(host.settings().mutex());
        // Keys that open programs, files or folders on this computer come in only when asked for.
        const auto consent = [&context](const std::vector<ProfileLaunchAction>& actions) {
            std::ostream& out = context.options.acceptLaunchActions ? context.out : context.err;
            out << "the profile binds keys to launch actions on this computer:\n";
            // The paths come from the profile: one escaped line each.
            for (const ProfileLaunchAction& action : actions) {
                std::string line = describeLaunchActions({action});
                if (!line.empty() && line.back() == '\n')
                    line.pop_back();
                out << escapeForTerminal(line) << '\n';
            }
            if (!context.options.acceptLaunchActions)
                context.err << "give --accept-launch-actions to import it with them\n";
            return context.options.acceptLaunchActions;
        };
        const ProfileResult imported =
            importProfile(folder, argument, host.image(), host.keys().table(), paths, consent);
        if (!imported.ok())
            return report(context, imported);
        host.keys().table().resetKeyCodes();
        currentName = imported.name;
    }
    recomputeAssignedFlags(session.host().keys(), session.image());
    // Said only once the profile went through: on a failure nothing may read as done.
    const int code = session.commit();
    if (code == exitcode::kOk)
        context.out << "current profile: " << escapeForTerminal(currentName) << '\n';
    return code;
}

} // namespace q905
