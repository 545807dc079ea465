// SPDX-License-Identifier: GPL-3.0-or-later
// assign, disable and enable: what the key assignment dialog's Save does for one key, committed
// as the main window commits it.

#include "base/TextSafety.h"
#include "cli/HostSession.h"
#include "cli/KeyArguments.h"
#include "cli/Output.h"
#include "keys/AssignmentText.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyEnableMask.h"
#include "keys/KeyTable.h"

#include <filesystem>
#include <ostream>

namespace q905 {

namespace {

std::variant<AssignmentChoice, ArgumentError> parseChoice(std::span<const std::string> args,
                                                          bool enabled) {
    if (args.empty())
        return ArgumentError{"assign needs what the key should do"};
    const std::string& kind = args[0];
    const auto rest = args.subspan(1);
    const auto joined = [&] {
        std::string text;
        for (const std::string& part : rest)
            text += (text.empty() ? "" : " ") + part;
        return text;
    };
    if (kind == "default" && rest.empty())
        return AssignmentChoice::restoreDefault(enabled);
    if (kind == "reset" && rest.empty())
        return AssignmentChoice::reset();
    if (kind == "single" && rest.size() == 1) {
        const auto code = parseKeyCode(rest[0]);
        if (const auto* error = std::get_if<ArgumentError>(&code))
            return *error;
        return AssignmentChoice::singleKey(std::get<std::uint8_t>(code), enabled);
    }
    if (kind == "combo" && rest.size() == 1) {
        AssignmentChoice choice = AssignmentChoice::combination({}, enabled);
        std::string_view text = rest[0];
        while (true) {
            const auto plus = text.find('+', 1); // "+" itself may be a key name
            const auto code = parseKeyCode(text.substr(0, plus));
            if (const auto* error = std::get_if<ArgumentError>(&code))
                return *error;
            if (choice.count == 3)
                return ArgumentError{"a combination has at most three keys"};
            choice.captured[static_cast<std::size_t>(choice.count++)] =
                std::get<std::uint8_t>(code);
            if (plus == std::string_view::npos)
                break;
            text.remove_prefix(plus + 1);
        }
        if (choice.count < 2)
            return ArgumentError{"a combination needs two or three keys, for example LCtrl+C"};
        return choice;
    }
    if (kind == "function" && !rest.empty())
        return AssignmentChoice::catalogue(joined(), enabled);
    if (kind == "macro" && rest.size() == 1) {
        int slot = -1;
        try {
            std::size_t used = 0;
            slot = std::stoi(rest[0], &used);
            if (used != rest[0].size())
                slot = -1;
        } catch (...) {
        }
        if (slot < 0 || slot > 31)
            return ArgumentError{"macro takes a slot number 0..31"};
        return AssignmentChoice::macro(slot, enabled);
    }
    if (kind == "launch" && rest.size() >= 2) {
        static const std::pair<const char*, FunctionGroup> kTypes[] = {
            {"music", FunctionGroup::PlayMusic},
            {"program", FunctionGroup::Startup},
            {"file", FunctionGroup::OpenFile},
            {"folder", FunctionGroup::OpenFolder}};
        for (const auto& [name, group] : kTypes) {
            if (rest[0] != name)
                continue;
            std::string path;
            for (const std::string& part : rest.subspan(1))
                path += (path.empty() ? "" : " ") + part;
            // The keyboard's request is served later, from another working folder.
            return AssignmentChoice::launch(group, std::filesystem::absolute(path).string(),
                                            enabled);
        }
        return ArgumentError{"launch takes music, program, file or folder, then a path"};
    }
    return ArgumentError{"assign KEY single CODE | combo CODE+CODE[+CODE] | function NAME | "
                         "macro N | launch music|program|file|folder PATH | default | reset"};
}

std::optional<int> keyArgument(CliContext& context, const std::string& text) {
    const auto key = parseKey(text);
    if (const auto* error = std::get_if<ArgumentError>(&key)) {
        (void)refuseUsage(context.err, error->message);
        return std::nullopt;
    }
    const int index = std::get<int>(key);
    if (!isAssignableKey(index)) {
        (void)refuseUsage(context.err, "key " + std::to_string(index) + " cannot be assigned");
        return std::nullopt;
    }
    return index;
}

// "Q (42): single A", the key as it now stands.
std::string keyLine(HostState& host, int key) {
    return escapeForTerminal(keyLabel(key) + " (" + std::to_string(key) +
                             "): " + describeAssignment(host.keys().table(), host.image(), key)) +
           '\n';
}

// Says what the key now does only when the change went through: on a failure nothing on
// standard output may read as done.
int commitAndEcho(CliContext& context, HostSession& session, int key) {
    const std::string line = keyLine(session.host(), key);
    const int code = session.commit();
    if (code == exitcode::kOk)
        context.out << line;
    return code;
}

} // namespace

int runAssign(CliContext& context, std::span<const std::string> args) {
    if (args.empty())
        return refuseUsage(context.err, "assign needs a key");
    const auto key = keyArgument(context, args[0]);
    if (!key)
        return exitcode::kUsage;
    if (const AssignResult assignable = checkAssignableKey(*key); !assignable.ok())
        return refuseUsage(context.err, assignable.message);

    HostSession session(context);
    // The dialog opens with the key's enabled state; Save keeps it unless it was changed.
    const auto parsed = parseChoice(args.subspan(1), true);
    if (const auto* error = std::get_if<ArgumentError>(&parsed))
        return refuseUsage(context.err, error->message);
    AssignmentChoice choice = std::get<AssignmentChoice>(parsed);
    if (const auto failed = session.start())
        return *failed;
    // Refused before anything is applied or written (the macro list is known only now).
    if (const AssignResult check = checkAssignment(*key, choice, session.host().macros());
        !check.ok()) {
        printError(context.err, check.message);
        return exitcode::kUsage;
    }
    const int position = KeyTable[static_cast<std::size_t>(*key)].matrixPosition();
    choice.enabled = choice.isReset() || isKeyEnabled(session.image(), position);
    const AssignResult result =
        assignKey(session.host().keys(), session.image(), session.host().macros(), *key, choice);
    if (!result.ok()) {
        printError(context.err, result.message);
        return exitcode::kUsage;
    }
    return commitAndEcho(context, session, *key);
}

namespace {

int setEnabled(CliContext& context, std::span<const std::string> args, bool enabled) {
    if (args.size() != 1)
        return refuseUsage(context.err,
                           std::string(enabled ? "enable" : "disable") + " takes one key");
    const auto key = keyArgument(context, args[0]);
    if (!key)
        return exitcode::kUsage;
    HostSession session(context);
    if (const auto failed = session.start())
        return *failed;
    // Saving the dialog with only its enable box changed: the assignment stays, the key's
    // enable bit and mark follow the box.
    HostState& host = session.host();
    setKeyEnabledInStep(host.keys(), host.image(), *key, enabled);
    recomputeAssignedFlags(host.keys(), host.image());
    return commitAndEcho(context, session, *key);
}

} // namespace

int runDisable(CliContext& context, std::span<const std::string> args) {
    return setEnabled(context, args, false);
}

int runEnable(CliContext& context, std::span<const std::string> args) {
    return setEnabled(context, args, true);
}

} // namespace q905
