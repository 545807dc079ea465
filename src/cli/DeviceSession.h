#pragma once
// One run of q905ctl against a keyboard: the backend (real or emulated), the link with its two
// handles, the images, and the notification reader that delivers acknowledgements.

#include "app/NotificationReader.h"
#include "app/ProgramOptions.h"
#include "device/AckFlag.h"
#include "device/Clock.h"
#include "device/HidLink.h"
#include "device/Settings.h"
#include "device/Trace.h"
#include "emulator/KeyboardBackend.h"

#include <memory>
#include <string>

namespace q905 {

class DeviceSession {
  public:
    explicit DeviceSession(const CliOptions& options);
    // Stops the reader and closes the handles; the emulated memory goes back to its file.
    ~DeviceSession();

    enum class OpenResult { Opened, NoKeyboard, NoAccess };
    // Opens the command handle and, when it can, the notification handle and its reader.
    OpenResult open(std::string& error);

    HidBackend& backend() { return m_keyboard.backend(); }
    HidLink& link() { return *m_link; }
    Settings& settings() { return m_settings; }
    AckFlag& ack() { return m_ack; }
    EmulatedKeyboard* emulator() { return m_keyboard.emulator(); }
    bool traceOpen() const { return m_keyboard.traceOpen(); }
    // Protocol errors the emulated keyboard saw; empty for a real keyboard.
    std::vector<std::string> emulatorErrors();

  private:
    SystemClock m_clock;
    KeyboardBackend m_keyboard;
    std::unique_ptr<HidLink> m_link;
    Settings m_settings;
    AckFlag m_ack;
    std::unique_ptr<NotificationReader> m_reader;
};

} // namespace q905
