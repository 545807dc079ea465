// list, read and reset: the commands that only talk to the keyboard.

#include "cli/SessionHelpers.h"
#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"

#include <ostream>

namespace q905 {

int runList(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "q905ctl: list takes no arguments\n";
        return exitcode::kUsage;
    }
    Settings settings;
    DeviceSession session(context.options, settings);
    bool any = false;
    for (const HidInterfaceInfo& info : session.backend().enumerate()) {
        if (info.vendorId != kKeyboardVendorId || info.productId != kKeyboardProductId)
            continue;
        any = true;
        const bool command = info.path.find(kCommandInterface) != std::string::npos;
        const bool notify = info.path.find(kNotifyInterface) != std::string::npos;
        context.out << info.path
                    << (command  ? "  (commands)"
                        : notify ? "  (notifications)"
                                 : "")
                    << '\n';
    }
    if (!any) {
        context.err << "no keyboard found\n";
        return exitcode::kFailure;
    }
    return finish(session, context, exitcode::kOk);
}

int runRead(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "q905ctl: read takes no arguments\n";
        return exitcode::kUsage;
    }
    Settings settings;
    DeviceSession session(context.options, settings);
    if (const auto failed = openKeyboard(session, context))
        return *failed;
    if (const ReadResult read = initialRead(session.link(), session.settings(), {});
        read != ReadResult::Complete) {
        context.err << "q905ctl: the keyboard did not answer (" << describe(read) << ")\n";
        return finish(session, context, exitcode::kFailure);
    }
    printSummary(session.settings(), context.out);
    return finish(session, context, exitcode::kOk);
}

int runReset(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "q905ctl: reset takes no arguments\n";
        return exitcode::kUsage;
    }
    Settings settings;
    DeviceSession session(context.options, settings);
    if (const auto failed = openKeyboard(session, context))
        return *failed;
    resetKeyboard(session.link());
    ReadResult read = readAll(session.link(), session.settings());
    if (read == ReadResult::Complete)
        read = readDeviceVersion(session.link(), session.settings());
    if (read != ReadResult::Complete) {
        context.err << "q905ctl: the keyboard did not answer after the reset (" << describe(read)
                    << ")\n";
        return finish(session, context, exitcode::kFailure);
    }
    printSummary(session.settings(), context.out);
    return finish(session, context, exitcode::kOk);
}

} // namespace q905
