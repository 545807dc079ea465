// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceSession.h"

#include "emulator/EmulatedKeyboard.h"

namespace q905 {

namespace {

std::unique_ptr<KeyboardLock> takeLock(const CliOptions& options, bool wanted, Status& status) {
    const auto file = KeyboardLock::lockFile(options.simulate, options.simulateFile);
    if (!wanted || !file)
        return nullptr;
    auto lock = std::make_unique<KeyboardLock>(*file, "q905ctl");
    status = lock->acquire(options.lockWait);
    return lock;
}

CliOptions withoutMemoryFile(CliOptions options) {
    options.simulateFile.reset();
    return options;
}

} // namespace

DeviceSession::DeviceSession(const CliOptions& options, bool lock)
    : m_lock(takeLock(options, lock, m_lockStatus)),
      // Without the lock the memory file is another process's: neither loaded nor written.
      m_keyboard(m_lockStatus ? options : withoutMemoryFile(options)),
      m_session(
          std::make_unique<KeyboardSession>(m_keyboard.backend(), m_clock, m_keyboard.trace())) {}

DeviceSession::~DeviceSession() {
    m_session.reset();
}

DeviceSession::OpenResult DeviceSession::open() {
    // Without the notification handle nothing acknowledges an apply; reads still work.
    const OpenReport opened = waitFor(*m_session, &KeyboardSession::open);
    if (!opened.opened)
        return {opened.keyboardSeen ? OpenStatus::NoAccess : OpenStatus::NoKeyboard, opened.error};
    return {};
}

std::vector<std::string> DeviceSession::emulatorErrors() {
    EmulatedKeyboard* emulator = m_keyboard.emulator();
    return emulator ? emulator->errors() : std::vector<std::string>{};
}

} // namespace q905
