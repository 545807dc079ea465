// SPDX-License-Identifier: GPL-3.0-or-later
// macro list | show N | new NAME ROW... | set N ROW... | rename N NAME | loop N COUNT |
// delete N: the macros the host keeps, edited as the macro dialog edits them. An edit fills the
// device slots, applies, and saves keymap.bin and MacroDefine.bin in the dialog's order.

#include "app/HostState.h"
#include "base/TextSafety.h"
#include "base/Utf16.h"
#include "cli/Command.h"
#include "cli/HostSession.h"
#include "cli/MacroRows.h"
#include "cli/Output.h"
#include "keys/KeyTable.h"
#include "keys/MacroBindings.h"
#include "macros/MacroListEditing.h"
#include "platform/Paths.h"

#include <charconv>
#include <ostream>
#include <sstream>

namespace q905 {

namespace {

constexpr const char* kUsage = "macro takes list, show N, new NAME ROW..., set N ROW..., "
                               "rename N NAME, loop N COUNT or delete N";

std::optional<int> number(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

int usage(CliContext& context) {
    return refuseUsage(context.err, kUsage);
}

// Arguments of the right form that the macros as they stand do not allow.
int refuse(CliContext& context, const std::string& why) {
    printError(context.err, why);
    return exitcode::kUsage;
}

void warnOfShortFile(CliContext& context, const MacroFileResult& loaded) {
    if (loaded.status == MacroFileStatus::LoadedWrongSize)
        printWarning(context.err, loaded.message);
}

int list(CliContext& context, const MacroList& macros) {
    const std::size_t count = macros.namedCount();
    for (std::size_t i = 0; i < count; ++i) {
        const MacroRecord& record = macros[i];
        context.out << i << "  " << escapeForTerminal(utf16ToUtf8(record.name())) << "  loop "
                    << record.loopCount() << (record.hasDelay() ? "  with delays" : "") << "  "
                    << record.keyEvents().end() << " / " << kEventSequenceSize << " bytes\n";
    }
    if (count == 0)
        context.out << "no macros\n";
    return exitcode::kOk;
}

int show(CliContext& context, const MacroRecord& record) {
    context.out << escapeForTerminal(utf16ToUtf8(record.name())) << "  loop " << record.loopCount()
                << '\n';
    for (const std::string& row : formatMacroRows(record.deviceEvents(), record.keyEvents()))
        context.out << "  " << escapeForTerminal(row) << '\n';
    return exitcode::kOk;
}

// Checks the arguments of an edit and makes it on the list; an exit code when refused, nothing
// changed then.
std::optional<int> edit(CliContext& context, MacroList& macros, const std::string& action,
                        std::span<const std::string> args) {
    const std::size_t count = macros.namedCount();
    if (action == "new") {
        if (args.empty())
            return usage(context);
        const std::u16string name = utf8ToUtf16(args[0]);
        if (std::string why = checkMacroName(name); !why.empty())
            return refuseUsage(context.err, why);
        if (count >= kMaxNamedMacros)
            return refuse(context, "there are " + std::to_string(kMaxNamedMacros) +
                                       " macros already, one per keyboard slot");
        const auto events = parseMacroRows(args.subspan(1));
        if (const auto* error = std::get_if<ArgumentError>(&events))
            return refuseUsage(context.err, error->message);
        const int index = *appendMacro(macros, name);
        const auto& parsed = std::get<MacroEvents>(events);
        (void)commitMacro(macros, index, name, false, "1", parsed.hasDelay, parsed.deviceEvents,
                          parsed.keyEvents);
        context.out << "macro " << index << ": " << escapeForTerminal(args[0]) << '\n';
        return std::nullopt;
    }
    if (args.empty())
        return usage(context);
    const auto index = number(args[0]);
    if (!index)
        return usage(context);
    if (static_cast<std::size_t>(*index) >= count)
        return refuse(context,
                      "there is no macro " + args[0] + " (" + std::to_string(count) + " defined)");
    MacroRecord& record = macros[static_cast<std::size_t>(*index)];
    const std::uint16_t loop = record.loopCount();
    if (action == "set") {
        const auto events = parseMacroRows(args.subspan(1));
        if (const auto* error = std::get_if<ArgumentError>(&events))
            return refuseUsage(context.err, error->message);
        const auto& parsed = std::get<MacroEvents>(events);
        (void)commitMacro(macros, *index, record.name(), loop > 1, std::to_string(loop),
                          parsed.hasDelay, parsed.deviceEvents, parsed.keyEvents);
    } else if (action == "rename" && args.size() == 2) {
        const std::u16string name = utf8ToUtf16(args[1]);
        if (std::string why = checkMacroName(name); !why.empty())
            return refuseUsage(context.err, why);
        record.setName(name);
    } else if (action == "loop" && args.size() == 2) {
        const auto times = number(args[1]);
        if (!times || *times < 1 || *times > kMaxLoopCount)
            return refuseUsage(context.err, "a loop count is 1..999");
        record.setLoopCount(static_cast<std::uint16_t>(*times));
    } else if (action == "delete" && args.size() == 1) {
        (void)deleteMacro(macros, *index);
    } else {
        return usage(context);
    }
    return std::nullopt;
}

// Deleting a macro moves the later ones up a slot: their keys move with them, and the keys of
// the deleted one get their default function. Each key changed is printed.
void moveKeysWithMacros(CliContext& context, HostState& host, int deleted) {
    std::lock_guard lock(host.settings().mutex());
    MacroBindings bindings(host.image(), host.macros().namedCount());
    bindings.macroDeleted(deleted);
    const std::vector<MacroKeyChange> changes = bindings.changes();
    applyMacroKeyChanges(host.keys(), host.image(), changes);
    for (const MacroKeyChange& change : changes) {
        context.out << KeyTable[static_cast<std::size_t>(change.keyIndex)].label << ": ";
        if (change.newSlot)
            context.out << "macro " << *change.newSlot << " (was macro " << change.oldSlot << ")\n";
        else
            context.out << "default function (its macro " << change.oldSlot << " was deleted)\n";
    }
}

} // namespace

int runMacro(CliContext& context, std::span<const std::string> args) {
    const std::string action = args.empty() ? "" : args[0];
    const auto rest = args.empty() ? args : args.subspan(1);
    if ((action == "list" && rest.empty()) || (action == "show" && rest.size() == 1)) {
        if (action == "show" && !number(rest[0]))
            return usage(context);
        HostState host(dataFolder(context.options.dataDir));
        const HostState::LoadReport report = host.loadAtStartUp();
        if (!report.macros.ok())
            return refuse(context, report.macros.message);
        warnOfShortFile(context, report.macros);
        const MacroList& macros = host.macros();
        if (action == "list")
            return list(context, macros);
        const auto index = static_cast<std::size_t>(*number(rest[0]));
        if (index >= macros.namedCount())
            return refuse(context, "there is no macro " + rest[0] + " (" +
                                       std::to_string(macros.namedCount()) + " defined)");
        return show(context, macros[index]);
    }
    if (action != "new" && action != "set" && action != "rename" && action != "loop" &&
        action != "delete")
        return usage(context);

    // The edit is checked on a copy first, so a refused one opens no keyboard and writes nothing.
    {
        HostState probe(dataFolder(context.options.dataDir));
        MacroList& macros = probe.macros();
        const std::filesystem::path file = probe.macroFilePath();
        if (std::filesystem::exists(file)) {
            if (const MacroFileResult loaded = loadMacroFile(file, macros); !loaded.ok())
                return refuse(context, loaded.message);
        }
        std::ostringstream quiet;
        CliContext silent{context.options, quiet, context.err};
        if (const auto refused = edit(silent, macros, action, rest))
            return *refused;
    }

    HostSession session(context);
    if (const auto failed = session.start())
        return *failed;
    HostState& host = session.host();
    // What the edit echoes waits for the outcome: on a failure nothing may read as done.
    std::ostringstream echo;
    CliContext echoing{context.options, echo, context.err};
    if (action == "delete")
        moveKeysWithMacros(echoing, host, *number(rest[0]));
    (void)edit(echoing, host.macros(), action, rest);
    {
        std::lock_guard lock(host.settings().mutex());
        fillMacroSlots(host.macros(), host.image());
    }
    const int code = session.commit(true);
    if (code == exitcode::kOk)
        context.out << echo.str();
    return code;
}

} // namespace q905
