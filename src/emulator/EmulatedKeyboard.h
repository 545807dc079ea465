// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model of the keyboard's firmware side of the protocol: the peer of every device test,
// benchmark and --simulate run. It keeps the keyboard's memory, answers every read request,
// stores every write, acknowledges each completed write on its notification interface, and
// is strict: anything it does not understand is recorded as an error (and fails the test).

#include "base/Result.h"
#include "device/Clock.h"
#include "device/HidBackend.h"
#include "device/Settings.h"
#include "emulator/Fault.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace q905 {

class EmulatedKeyboard {
  public:
    struct Options {
        std::uint8_t firmwareMajor = 1;
        std::uint8_t firmwareMinor = 0;
        // Time each transfer takes: 0 in unit tests, about 1 ms (USB full speed) elsewhere.
        std::chrono::microseconds latency{0};
        // What the keyboard's own waits go through (latency, silent reads, the time a
        // replugged keyboard is away): real time when null, a recording clock in tests.
        Clock* clock = nullptr;
    };

    explicit EmulatedKeyboard(Options options);
    EmulatedKeyboard();
    ~EmulatedKeyboard();
    EmulatedKeyboard(const EmulatedKeyboard&) = delete;
    EmulatedKeyboard& operator=(const EmulatedKeyboard&) = delete;

    // The HID interfaces of the keyboard while it is plugged in: a plain keyboard interface,
    // an interface with four top-level collections (the fourth carries report id 4) and the
    // command interface 3.
    HidBackend& backend();

    // The keyboard's memory in the layout of the settings image, each field holding the value
    // a read of the keyboard stores into the image (the speed step, not its wire value).
    SettingsImage memory() const;
    // Takes the bytes as they are, except the two a read derives: WinKeyLock follows bit 0 of
    // the second KeyEnableMask byte and PalmRestBlock byte 0 is 0x87.
    void setMemory(const SettingsImage& memory);
    // Factory settings: DefaultKeyMap, every key enabled, lighting defaults.
    void factoryReset();
    // Loads the memory from a regular file of 10,068 bytes; a missing file leaves the memory
    // as it is. Anything else is refused with the reason, and the memory is left as it is.
    Status loadMemory(const std::filesystem::path& file);
    // Writes the 10,068 bytes atomically.
    Status saveMemory(const std::filesystem::path& file) const;

    void setFirmwareVersion(std::uint8_t major, std::uint8_t minor);
    void setLatency(std::chrono::microseconds latency);

    // Unsolicited reports. Like input reports on hidraw, each goes to every notification
    // channel open at the time and is lost when none is. A lighting change (type 1) also
    // changes the memory, as the keyboard's own hot keys do; field 2..6 as on the wire, value
    // as on the wire. Nothing happens while the keyboard is unplugged.
    void sendLightingChange(std::uint8_t field, std::uint8_t wireValue);
    // A launch request (type 2) carrying a key code.
    void sendLaunchRequest(std::uint8_t keyCode);
    void sendNotification(const NotificationReport& report);
    // A key press: a key whose key map entry is a host action (kind 10) sends a launch request
    // with the entry's key code. True when a report was sent (never while unplugged).
    bool pressKey(int matrixPosition);

    // Plugging and unplugging: while unplugged no interface is listed, opens fail, channels
    // opened before fail for good (a replug needs new ones), blocked notification reads return
    // Gone and a half-done exchange is forgotten. The memory stays as it was. The listener
    // hears every change, a removal always before the return that follows it; it may be called
    // on any thread, never after it has been replaced.
    void unplug();
    void plug();
    bool isPlugged() const;
    void setPlugListener(std::function<void(bool plugged)> listener);

    // Protocol violations seen so far (wrong checksum, unknown command, unexpected report...).
    std::vector<std::string> errors() const;
    void clearErrors();
    // Called at once for each violation, so a test can fail where it happens.
    void setErrorListener(std::function<void(const std::string&)> listener);

    // Waits until at least `count` notification reads are blocked for want of a report, so a
    // test knows another thread is waiting; false when the timeout passes first.
    bool waitForBlockedReads(std::size_t count, std::chrono::milliseconds timeout) const;

    // Faults from now on (see Fault.h); their transfer numbers count from this call, 1 being
    // the next transfer. An empty list ends them. A replug brings the keyboard back on a thread
    // of the keyboard's own after its time away.
    void setFaults(std::vector<Fault> faults);

    // The next count opens of the notification interface fail, as when another program holds
    // it for a moment.
    void refuseNotificationOpens(int count);

    // Transfers served (feature reports and data reports), for benchmarks.
    std::size_t transferCount() const;

    class Impl;

  private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace q905
