#include "cli/DeviceSession.h"

#include "emulator/EmulatedKeyboard.h"

namespace q905 {

DeviceSession::DeviceSession(const CliOptions& options, Settings& settings)
    : m_keyboard(options),
      m_connection(m_keyboard.backend(), m_clock, m_keyboard.trace(), settings) {}

DeviceSession::~DeviceSession() {
    m_connection.shutdown([] {});
}

DeviceSession::OpenResult DeviceSession::open() {
    if (const Status opened = link().openCommandHandle(); !opened)
        return {link().keyboardSeen() ? OpenStatus::NoAccess : OpenStatus::NoKeyboard,
                opened.message()};
    // Without the notification handle nothing acknowledges an apply; reads still work.
    m_connection.startReader(nullptr);
    return {};
}

std::vector<std::string> DeviceSession::emulatorErrors() {
    EmulatedKeyboard* emulator = m_keyboard.emulator();
    return emulator ? emulator->errors() : std::vector<std::string>{};
}

} // namespace q905
