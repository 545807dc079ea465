#include "cli/DeviceSession.h"

#include "emulator/EmulatedKeyboard.h"

namespace q905 {

DeviceSession::DeviceSession(const CliOptions& options)
    : m_keyboard(options), m_session(std::make_unique<KeyboardSession>(
                               m_keyboard.backend(), m_clock, m_keyboard.trace())) {}

DeviceSession::~DeviceSession() {
    m_session.reset();
}

DeviceSession::OpenResult DeviceSession::open() {
    // Without the notification handle nothing acknowledges an apply; reads still work.
    const OpenReport opened = m_session->open();
    if (!opened.opened)
        return {opened.keyboardSeen ? OpenStatus::NoAccess : OpenStatus::NoKeyboard,
                opened.error};
    return {};
}

std::vector<std::string> DeviceSession::emulatorErrors() {
    EmulatedKeyboard* emulator = m_keyboard.emulator();
    return emulator ? emulator->errors() : std::vector<std::string>{};
}

} // namespace q905
