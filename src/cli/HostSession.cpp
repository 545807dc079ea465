// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HostSession.h"

#include "base/TextSafety.h"
#include "cli/Output.h"
#include "cli/SessionHelpers.h"
#include "cli/WindowHandOff.h"
#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "platform/Paths.h"

#include <ostream>

namespace q905 {

HostSession::HostSession(CliContext& context)
    : m_context(context), m_window(context.window),
      m_host(std::make_unique<HostState>(m_window ? m_window->dataFolder
                                                  : dataFolder(context.options.dataDir))) {
    if (m_window)
        m_host->keepFilesAsTheyAre();
}

HostSession::~HostSession() = default;

KeyboardSession& HostSession::keyboard() {
    return m_device->keyboard();
}

std::optional<int> HostSession::startAttached() {
    m_window->startingPoint(*m_host);
    m_startMacros = std::make_unique<MacroList>(m_host->macros());
    return std::nullopt;
}

std::optional<int> HostSession::start() {
    if (m_window)
        return startAttached();
    // The keyboard first: its lock is held before the host files are read, so a command that
    // waited for another reads what that one wrote.
    if (!m_context.options.noApply) {
        m_device = std::make_unique<DeviceSession>(m_context.options);
        if (const auto failed = openKeyboard(*m_device, m_context))
            return failed;
    }
    if (const Status files = m_host->checkFiles(); !files) {
        m_context.err << "q905ctl: " << escapeForTerminal(files.message()) << '\n';
        return exitcode::kUsage;
    }
    const HostState::LoadReport report = m_host->loadAtStartUp();
    // A file that is not what it should be is refused before anything is written.
    if (report.keymap.status == KeymapLoadStatus::Unreadable) {
        m_context.err << "q905ctl: " << escapeForTerminal(report.keymap.message) << '\n';
        return exitcode::kUsage;
    }
    if (!report.macros.ok()) {
        m_context.err << "q905ctl: " << escapeForTerminal(report.macros.message) << '\n';
        return exitcode::kUsage;
    }
    if (report.keymap.status == KeymapLoadStatus::LoadedWrongSize)
        m_context.err << "q905ctl: warning: " << escapeForTerminal(report.keymap.message) << '\n';
    if (report.macros.status == MacroFileStatus::LoadedWrongSize)
        printWarning(m_context.err, report.macros.message);
    if (!m_device)
        return std::nullopt;
    // The start-up read snapshots the image; the table's snapshot goes with it.
    const KeyboardImages base{
        m_host->image(), m_host->settings().appliedSettings(), {}, m_host->lastAppliedGameMode()};
    const ReadReport read =
        waitFor(m_device->keyboard(), &KeyboardSession::read, ReadKind::StartUp, base, false);
    if (read.result != ReadResult::Complete) {
        // Nothing is applied over a state that was never read.
        m_context.err << "q905ctl: the keyboard did not answer (" << describe(read.result) << ")\n";
        return finish(*m_device, m_context, exitcode::kFailure);
    }
    m_host->takeKeyboardImages(read.images.device, read.images.applied, read.images.version);
    m_host->keys().snapshot();
    m_host->resumePendingEdits();
    return std::nullopt;
}

int HostSession::commit(bool macros) {
    if (m_window) {
        std::optional<MacroList> changedMacros;
        if (!(m_host->macros() == *m_startMacros))
            changedMacros = m_host->macros();
        m_window->change = CommandResult{m_host->image(), m_host->keys(), std::move(changedMacros)};
        return exitcode::kOk;
    }
    // Every file is written before the keyboard is changed, so a full disk or a folder that
    // cannot be written stops the command while the keyboard and the files still agree.
    Result<PreparedSave> save = m_host->prepareSave(macros);
    if (!save) {
        m_context.err << "q905ctl: " << escapeForTerminal(save.message())
                      << "; the keyboard was not changed\n";
        return m_device ? finish(*m_device, m_context, exitcode::kFailure) : exitcode::kFailure;
    }
    int exitCode = exitcode::kOk;
    Status saved = Status::success();
    if (connected()) {
        const ApplyOutcome outcome = m_host->finishApply(
            std::move(*save), waitFor(keyboard(), &KeyboardSession::apply, m_host->image(),
                                      m_host->settings().appliedSettings()));
        if (!outcome.snapshotTaken) {
            // The edit stays pending in keymap.bin (applied.bin says what the keyboard holds)
            // and goes out with the next apply.
            m_context.err << "q905ctl: the keyboard did not take the change: "
                          << describe(outcome.result) << '\n';
            exitCode = exitcode::kFailure;
        }
        saved = outcome.saved;
    } else {
        saved = m_host->finishSave(std::move(*save));
    }
    if (!saved) {
        m_context.err << "q905ctl: " << escapeForTerminal(saved.message()) << '\n';
        exitCode = exitcode::kFailure;
    }
    return m_device ? finish(*m_device, m_context, exitCode) : exitCode;
}

int HostSession::finishReading() {
    return finishWith(exitcode::kOk);
}

int HostSession::finishWith(int exitCode) {
    return m_device ? finish(*m_device, m_context, exitCode) : exitCode;
}

} // namespace q905
