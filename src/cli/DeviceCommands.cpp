// SPDX-License-Identifier: GPL-3.0-or-later
// list, read and reset: the commands that talk to the keyboard rather than edit settings.

#include "base/TextSafety.h"
#include "cli/HostSession.h"
#include "cli/Output.h"
#include "cli/SessionHelpers.h"
#include "cli/WindowHandOff.h"
#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "platform/Paths.h"

#include <ostream>

namespace q905 {

int runList(CliContext& context, std::span<const std::string> args) {
    if (!args.empty())
        return refuseUsage(context.err, "list takes no arguments");
    DeviceSession session(context.options, false);
    bool any = false;
    for (const HidInterfaceInfo& info : session.backend().enumerate()) {
        if (info.vendorId != kKeyboardVendorId || info.productId != kKeyboardProductId)
            continue;
        any = true;
        const bool command = info.path.find(kCommandInterface) != std::string::npos;
        const bool notify = info.path.find(kNotifyInterface) != std::string::npos;
        context.out << escapeForTerminal(info.path)
                    << (command  ? "  (commands)"
                        : notify ? "  (notifications)"
                                 : "")
                    << '\n';
    }
    if (!any) {
        context.err << noKeyboardText(true);
        return exitcode::kFailure;
    }
    return finish(session, context, exitcode::kOk);
}

int runRead(CliContext& context, std::span<const std::string> args) {
    if (!args.empty())
        return refuseUsage(context.err, "read takes no arguments");
    if (context.window) {
        // The window's session read the keyboard and follows its changes: no second read.
        HostSession session(context);
        if (const auto failed = session.start())
            return *failed;
        printSummary(session.host().image(), session.host().settings().deviceVersion(),
                     context.out);
        return exitcode::kOk;
    }
    DeviceSession session(context.options);
    if (const auto failed = openKeyboard(session, context))
        return *failed;
    KeyboardImages base;
    base.gameMode = HostState::savedGameMode(dataFolder(context.options.dataDir));
    const ReadReport read =
        waitFor(session.keyboard(), &KeyboardSession::read, ReadKind::StartUp, base, false);
    if (read.result != ReadResult::Complete) {
        context.err << "q905ctl: the keyboard did not answer (" << describe(read.result) << ")\n";
        return finish(session, context, exitcode::kFailure);
    }
    printSummary(read.images.device, read.images.version, context.out);
    return finish(session, context, exitcode::kOk);
}

int reportFactoryReset(const FactoryResetOutcome& outcome, ReadResult read, HostState& host,
                       std::ostream& out, std::ostream& err) {
    if (!outcome.wasReset() && !outcome.saved) {
        err << "q905ctl: " << escapeForTerminal(outcome.saved.message())
            << "; the keyboard was not reset\n";
        return exitcode::kFailure;
    }
    if (!outcome.wasReset()) {
        err << "q905ctl: the keyboard did not take the reset: " << describe(outcome.reset) << '\n';
        return exitcode::kFailure;
    }
    if (read != ReadResult::Complete) {
        err << "q905ctl: the keyboard was reset but did not answer afterwards (" << describe(read)
            << ")\n";
        return exitcode::kFailure;
    }
    if (!outcome.saved) {
        err << "q905ctl: " << escapeForTerminal(outcome.saved.message()) << '\n';
        return exitcode::kFailure;
    }
    printSummary(host.image(), host.settings().deviceVersion(), out);
    return exitcode::kOk;
}

int runReset(CliContext& context, std::span<const std::string> args) {
    if (!args.empty())
        return refuseUsage(context.err, "reset takes no arguments");
    if (context.window) {
        context.window->reset = true;
        return exitcode::kOk;
    }
    // The host side follows the keyboard, as in the window: no assignments left in keymap.bin
    // for a keyboard that no longer has them.
    HostSession session(context);
    if (const auto failed = session.start())
        return *failed;
    if (!session.connected())
        return refuseUsage(context.err,
                           "reset needs the keyboard; it cannot be used with --no-apply");
    Result<PreparedSave> save = session.host().prepareSave();
    const FactoryResetOutcome outcome =
        save ? session.host().finishFactoryReset(
                   std::move(*save), waitFor(session.keyboard(), &KeyboardSession::factoryReset))
             : FactoryResetOutcome::notPrepared(save.status());
    ReadResult read = outcome.read;
    if (outcome.wasReset() && read == ReadResult::Complete) {
        const ReadReport version = waitFor(session.keyboard(), &KeyboardSession::readVersion);
        read = version.result;
        session.host().settings().setDeviceVersion(version.images.version);
    }
    return session.finishWith(
        reportFactoryReset(outcome, read, session.host(), context.out, context.err));
}

} // namespace q905
