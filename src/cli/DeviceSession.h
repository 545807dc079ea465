// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of q905ctl against a keyboard: the keyboard the options name (real or emulated) and
// the keyboard session that talks to it, used synchronously.

#include "app/KeyboardBackend.h"
#include "app/KeyboardSession.h"
#include "app/ProgramOptions.h"
#include "device/Clock.h"
#include "platform/KeyboardLock.h"

#include <memory>
#include <string>
#include <vector>

namespace q905 {

class DeviceSession {
  public:
    // lock: whether to wait for the keyboard's lock (every command but list).
    explicit DeviceSession(const CliOptions& options, bool lock = true);
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
    // Whether the keyboard could be had: another q905ctl may hold it for longer than a
    // command waits.
    const Status& lockStatus() const { return m_lockStatus; }
    // Whether the --simulate file was taken.
    const Status& memoryFileStatus() const { return m_keyboard.memoryFileStatus(); }

    HidBackend& backend() { return m_keyboard.backend(); }
    KeyboardSession& keyboard() { return *m_session; }
    bool traceOpen() const { return m_keyboard.traceOpen(); }
    // Protocol errors the emulated keyboard saw; empty for a real keyboard.
    std::vector<std::string> emulatorErrors();

  private:
    // Taken before the emulated keyboard's memory file is loaded, held until it is written back.
    Status m_lockStatus = Status::success();
    std::unique_ptr<KeyboardLock> m_lock;
    SystemClock m_clock;
    KeyboardBackend m_keyboard;
    std::unique_ptr<KeyboardSession> m_session;
};

} // namespace q905
