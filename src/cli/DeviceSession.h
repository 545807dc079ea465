#pragma once
// One run of q905ctl against a keyboard: the keyboard the options name (real or emulated) and
// the connection to it, whose notification reader delivers acknowledgements and the keyboard's
// own changes into the caller's images.

#include "app/KeyboardBackend.h"
#include "app/KeyboardConnection.h"
#include "app/ProgramOptions.h"
#include "device/Clock.h"

#include <string>
#include <vector>

namespace q905 {

class DeviceSession {
  public:
    DeviceSession(const CliOptions& options, Settings& settings);
    // Stops the reader and closes the handles; the emulated memory goes back to its file.
    ~DeviceSession();

    enum class OpenStatus { Opened, NoKeyboard, NoAccess };
    struct [[nodiscard]] OpenResult {
        OpenStatus status = OpenStatus::Opened;
        std::string message; // why the keyboard could not be opened
    };
    // Opens the command handle and, when it can, the notification handle and its reader.
    OpenResult open();
    // Whether the --simulate file was taken.
    const Status& memoryFileStatus() const { return m_keyboard.memoryFileStatus(); }

    HidBackend& backend() { return m_keyboard.backend(); }
    HidLink& link() { return m_connection.link(); }
    Settings& settings() { return m_connection.settings(); }
    AckFlag& ack() { return m_connection.ack(); }
    bool traceOpen() const { return m_keyboard.traceOpen(); }
    // Protocol errors the emulated keyboard saw; empty for a real keyboard.
    std::vector<std::string> emulatorErrors();

  private:
    SystemClock m_clock;
    KeyboardBackend m_keyboard;
    KeyboardConnection m_connection;
};

} // namespace q905
