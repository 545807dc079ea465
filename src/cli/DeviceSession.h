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

#include <memory>
#include <string>

namespace q905 {

class EmulatedKeyboard;

class DeviceSession {
public:
    explicit DeviceSession(const CliOptions& options);
    // Stops the reader, closes the handles and writes the emulated memory back to its file.
    ~DeviceSession();

    enum class OpenResult { Opened, NoKeyboard, NoAccess };
    // Opens the command handle and, when it can, the notification handle and its reader.
    OpenResult open(std::string& error);

    HidBackend& backend() { return *m_backend; }
    HidLink& link() { return *m_link; }
    Settings& settings() { return m_settings; }
    AckFlag& ack() { return m_ack; }
    EmulatedKeyboard* emulator() { return m_emulator.get(); }
    bool traceOpen() const { return !m_trace || m_trace->good(); }
    // Protocol errors the emulated keyboard saw; empty for a real keyboard.
    std::vector<std::string> emulatorErrors() const;

private:
    const CliOptions& m_options;
    SystemClock m_clock;
    std::unique_ptr<Trace> m_trace;
    std::unique_ptr<EmulatedKeyboard> m_emulator;
    std::unique_ptr<HidBackend> m_ownedBackend;
    HidBackend* m_backend = nullptr;
    std::unique_ptr<HidLink> m_link;
    Settings m_settings;
    AckFlag m_ack;
    std::unique_ptr<NotificationReader> m_reader;
};

} // namespace q905
