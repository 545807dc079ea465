#include "cli/DeviceSession.h"

#include "emulator/EmulatedKeyboard.h"

namespace q905 {

DeviceSession::DeviceSession(const CliOptions& options) : m_keyboard(options) {
    m_link = std::make_unique<HidLink>(m_keyboard.backend(), m_clock, m_keyboard.trace());
    m_reader = std::make_unique<NotificationReader>(m_settings, m_ack, m_keyboard.trace());
}

DeviceSession::~DeviceSession() {
    m_reader->stop();
    m_link->closeCommandHandle();
    m_link->closeNotifyHandle();
}

DeviceSession::OpenResult DeviceSession::open(std::string& error) {
    if (!m_link->openCommandHandle(&error))
        return m_link->keyboardSeen() ? OpenResult::NoAccess : OpenResult::NoKeyboard;
    // Without the notification handle nothing acknowledges an apply; reads still work.
    std::string notifyError;
    if (m_link->openNotifyHandle(&notifyError))
        m_reader->start(m_link->notifyHandle(), nullptr);
    return OpenResult::Opened;
}

std::vector<std::string> DeviceSession::emulatorErrors() {
    return emulator() ? emulator()->errors() : std::vector<std::string>{};
}

} // namespace q905
