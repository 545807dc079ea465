// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SessionHelpers.h"

#include "base/TextSafety.h"
#include "platform/Paths.h"

#include <ostream>

namespace q905 {

std::optional<int> openKeyboard(DeviceSession& session, CliContext& context) {
    if (const Status& lock = session.lockStatus(); !lock) {
        context.err << "q905ctl: " << escapeForTerminal(lock.message()) << '\n';
        return exitcode::kFailure;
    }
    if (!session.traceOpen()) {
        context.err << "q905ctl: cannot open the trace file "
                    << escapeForTerminal(context.options.traceFile->string()) << '\n';
        return exitcode::kFailure;
    }
    if (const Status& memory = session.memoryFileStatus(); !memory) {
        context.err << "q905ctl: " << escapeForTerminal(memory.message()) << '\n';
        return exitcode::kUsage;
    }
    const DeviceSession::OpenResult opened = session.open();
    switch (opened.status) {
    case DeviceSession::OpenStatus::Opened:
        return std::nullopt;
    case DeviceSession::OpenStatus::NoKeyboard:
        context.err << noKeyboardText(false);
        return exitcode::kFailure;
    case DeviceSession::OpenStatus::NoAccess:
        context.err << "q905ctl: the keyboard is connected but cannot be opened: "
                    << escapeForTerminal(opened.message) << '\n';
        return exitcode::kFailure;
    }
    return exitcode::kFailure;
}

std::string noKeyboardText(bool fromList) {
    const UdevRuleLocation rule = udevRuleLocation();
    const std::string where =
        rule.state == UdevRuleLocation::State::InSourceTree
            ? "the udev rule " + rule.path.string() + " once copied to /etc/udev/rules.d/"
            : "the udev rule " + rule.path.string();
    return "no keyboard found: check that it is plugged in" +
           std::string(fromList ? ""
                                : " (q905ctl list lists its interfaces once the system "
                                  "sees it)") +
           "; access to /dev/hidraw* comes from " + escapeForTerminal(where) +
           " for the user of the active local session (after installing it, log out and in "
           "again, or unplug and replug the keyboard)\n";
}

int finish(DeviceSession& session, CliContext& context, int exitCode) {
    const auto errors = session.emulatorErrors();
    for (const std::string& error : errors)
        context.err << "q905ctl: emulated keyboard: " << error << '\n';
    return errors.empty() ? exitCode : exitcode::kFailure;
}

void printSummary(const SettingsImage& image, DeviceVersion version, std::ostream& out) {
    out << "firmware:      " << int(version.major()) << '.' << int(version.minor()) << '\n'
        << "effect:        " << int(image.lightingEffect()) << '\n'
        << "speed:         " << int(image.speedStep()) << '\n'
        << "brightness:    " << int(image.brightness()) << '\n'
        << "colour:        " << int(image.colourIndex()) << '\n'
        << "direction:     " << int(image.direction()) << '\n'
        << "game mode:     " << (image.gameMode() ? "on" : "off") << '\n'
        << "windows lock:  " << (image.winKeyLock() == 1 ? "on" : "off") << '\n'
        << "report rate:   " << int(image.reportRate()) << '\n'
        << "response time: " << int(image.responseTime()) << '\n';
}

} // namespace q905
