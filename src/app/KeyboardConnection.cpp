#include "app/KeyboardConnection.h"

#include "device/Commands.h"
#include "device/DeviceReader.h"
#include "device/SettingsLayout.h"

#include <array>

namespace q905 {

KeyboardConnection::KeyboardConnection(HidBackend& backend, Clock& clock, Trace* trace,
                                       Settings& settings)
    : m_settings(settings), m_link(backend, clock, trace), m_reader(settings, m_ack, trace) {}

KeyboardConnection::~KeyboardConnection() {
    shutdown([] {});
}

KeyboardConnection::OpenResult
KeyboardConnection::openAndStartInitialRead(std::function<void(ReadResult)> readDone) {
    OpenResult result;
    const Status opened = m_link.openCommandHandle();
    result.opened = opened.ok();
    result.error = opened.message();
    result.keyboardSeen = m_link.keyboardSeen();
    if (!result.opened)
        return result;
    ++m_generation;
    m_initialReadDone = false;
    m_initialRead = std::thread([this, readDone = std::move(readDone)] {
        (void)initialRead(m_link, m_settings, readDone);
        m_initialReadDone = true;
    });
    return result;
}

bool KeyboardConnection::startReader(NotificationEvents* events) {
    if (m_reader.isRunning())
        return true;
    if (!m_link.notifyHandleValid() && !m_link.openNotifyHandle())
        return false;
    m_reader.stop(); // joins a reader that ended by itself
    m_reader.start(m_link.notifyHandle(), events);
    return true;
}

bool KeyboardConnection::initialReadRunning() const {
    return !m_initialReadDone.load();
}

void KeyboardConnection::finishInitialRead(const std::function<void()>& pump) {
    if (!m_initialRead.joinable())
        return;
    while (!m_initialReadDone.load()) {
        pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_initialRead.join();
}

KeyboardConnection::Arrival KeyboardConnection::arrive() {
    if (m_link.commandHandleValid())
        return Arrival::AlreadyConnected;
    if (!m_link.openCommandHandle())
        return Arrival::NotOpened;
    ++m_generation;
    // A read cut short keeps what the image held; the caller says so.
    return plugInRead(m_link, m_settings) == ReadResult::Complete ? Arrival::Read
                                                                  : Arrival::ReadFailed;
}

void KeyboardConnection::stopReader() {
    m_reader.stop();
}

void KeyboardConnection::closeHandles() {
    m_link.closeCommandHandle();
    m_link.closeNotifyHandle();
}

void KeyboardConnection::shutdown(const std::function<void()>& pump) {
    m_reader.stop();
    finishInitialRead(pump);
    closeHandles();
}

} // namespace q905
