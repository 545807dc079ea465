#pragma once
// One run of q905ctl against a keyboard: the keyboard the options name (real or emulated) and
// the keyboard session that talks to it, used synchronously.

#include "app/KeyboardBackend.h"
#include "app/KeyboardSession.h"
#include "app/ProgramOptions.h"
#include "device/Clock.h"

#include <memory>
#include <string>
#include <vector>

namespace q905 {

class DeviceSession {
  public:
    explicit DeviceSession(const CliOptions& options);
    // The session ends (reader stopped, handles closed) before the emulated memory goes back
    // to its file.
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
    KeyboardSession& keyboard() { return *m_session; }
    bool traceOpen() const { return m_keyboard.traceOpen(); }
    // Protocol errors the emulated keyboard saw; empty for a real keyboard.
    std::vector<std::string> emulatorErrors();

  private:
    SystemClock m_clock;
    KeyboardBackend m_keyboard;
    std::unique_ptr<KeyboardSession> m_session;
};

} // namespace q905
