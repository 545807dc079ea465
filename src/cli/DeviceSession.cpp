#include "cli/DeviceSession.h"

#include "emulator/EmulatedKeyboard.h"
#include "platform/HidrawBackend.h"

namespace q905 {

DeviceSession::DeviceSession(const CliOptions& options) : m_options(options) {
    if (options.traceFile)
        m_trace = std::make_unique<Trace>(options.traceFile->string());
    if (options.simulate) {
        EmulatedKeyboard::Options emulated;
        emulated.firmwareMajor = options.simulateMajor;
        emulated.firmwareMinor = options.simulateMinor;
        emulated.latency = options.simulateLatency;
        m_emulator = std::make_unique<EmulatedKeyboard>(emulated);
        if (options.simulateFile)
            m_emulator->loadMemory(*options.simulateFile); // a missing file: factory settings
        m_backend = &m_emulator->backend();
    } else {
        m_ownedBackend = std::make_unique<HidrawBackend>();
        m_backend = m_ownedBackend.get();
    }
    m_link = std::make_unique<HidLink>(*m_backend, m_clock, m_trace.get());
    m_reader = std::make_unique<NotificationReader>(m_settings, m_ack, m_trace.get());
}

DeviceSession::~DeviceSession() {
    m_reader->stop();
    m_link->closeCommandHandle();
    m_link->closeNotifyHandle();
    if (m_emulator && m_options.simulateFile)
        m_emulator->saveMemory(*m_options.simulateFile);
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

std::vector<std::string> DeviceSession::emulatorErrors() const {
    return m_emulator ? m_emulator->errors() : std::vector<std::string>{};
}

} // namespace q905
