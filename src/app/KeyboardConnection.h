#pragma once
// The window's hold on the keyboard: the link with its two handles, the acknowledgement flag,
// the notification reader and the start-up read thread, with the steps of start-up, arrival,
// removal and teardown. The window decides when each step runs (its timers take the waits);
// this class only performs them.

#include "app/NotificationReader.h"
#include "device/AckFlag.h"
#include "device/DeviceReader.h"
#include "device/HidLink.h"
#include "device/Settings.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace q905 {

class KeyboardConnection {
  public:
    KeyboardConnection(HidBackend& backend, Clock& clock, Trace* trace, Settings& settings);
    // Only after shutdown(): the start-up read may need the window's thread to finish.
    ~KeyboardConnection();
    KeyboardConnection(const KeyboardConnection&) = delete;
    KeyboardConnection& operator=(const KeyboardConnection&) = delete;

    HidLink& link() { return m_link; }
    AckFlag& ack() { return m_ack; }
    Settings& settings() { return m_settings; }
    bool connected() const { return m_link.commandHandleValid(); }
    bool readerRunning() const { return m_reader.isRunning(); }
    // Counts the openings of the command handle, so a delayed step can tell whether the
    // connection it was meant for is still the current one.
    std::uint64_t generation() const { return m_generation; }

    struct OpenResult {
        bool opened = false;
        bool keyboardSeen = false; // present but not opened: most likely a permission problem
        std::string error;
    };
    // Start-up: the command handle, then the start-up read on its own thread; readDone is
    // called on that thread once the read has released the link.
    OpenResult openAndStartInitialRead(std::function<void(ReadResult)> readDone);
    // Start-up and arrival: the notification handle and its reader, unless already running.
    bool startReader(NotificationEvents* events);
    bool initialReadRunning() const;
    // Waits for the start-up read to end; pump runs while waiting, so a read-done call that
    // needs the caller's thread can get through.
    void finishInitialRead(const std::function<void()>& pump);

    enum class Arrival {
        AlreadyConnected, // the command handle was valid: nothing to do
        NotOpened,        // the keyboard could not be opened; nothing changed
        Read,             // opened and read (plug-in read)
        ReadFailed,       // opened, but the plug-in read was cut short
    };
    // Arrival after its wait: open the command handle and read the keyboard.
    Arrival arrive();

    // Removal: the reader ends (joined) before the handles close.
    void stopReader();
    void closeHandles();

    // Teardown in order: reader stopped, start-up read finished, handles closed.
    void shutdown(const std::function<void()>& pump);

  private:
    Settings& m_settings;
    HidLink m_link;
    AckFlag m_ack;
    NotificationReader m_reader;
    std::thread m_initialRead;
    std::atomic<bool> m_initialReadDone{true};
    std::atomic<std::uint64_t> m_generation{0};
};

} // namespace q905
