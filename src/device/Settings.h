// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two process-wide images: DeviceSettings (edited by the pages) and AppliedSettings (what
// the keyboard is believed to hold), plus the keyboard's firmware version.

#include "device/SettingsImage.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

namespace q905 {

// Firmware major and minor version followed by two zero bytes; not part of any file.
struct DeviceVersion {
    std::array<std::uint8_t, 4> bytes{};
    std::uint8_t major() const { return bytes[0]; }
    std::uint8_t minor() const { return bytes[1]; }
    bool operator==(const DeviceVersion&) const = default;
};

class Settings {
  public:
    // The keyboard session's transactions run on its own thread and its notification reader
    // writes single lighting bytes into both copies on another: both take this lock. A copy
    // kept by the window or a q905ctl command is used on one thread only, and its lock is never
    // contended.
    std::mutex& mutex() const { return m_mutex; }

    SettingsImage& deviceSettings() { return m_device; }
    const SettingsImage& deviceSettings() const { return m_device; }
    SettingsImage& appliedSettings() { return m_applied; }
    const SettingsImage& appliedSettings() const { return m_applied; }

    // AppliedSettings <- DeviceSettings, the whole image.
    void snapshot();
    // DeviceSettings <- AppliedSettings, the whole image.
    void revert();
    // Copies of either image taken under the lock, for readers on another thread.
    SettingsImage deviceCopy() const;
    SettingsImage appliedCopy() const;
    // One byte of DeviceSettings, read under the lock.
    std::uint8_t deviceByte(std::size_t offset) const;
    // Stores bytes received from the keyboard into DeviceSettings.
    void storeDeviceBytes(std::size_t offset, std::span<const std::uint8_t> bytes);
    // Stores a value the keyboard changed by itself into both copies, so it is not sent back.
    void storeInBoth(std::size_t offset, std::uint8_t value);

    DeviceVersion deviceVersion() const;
    void setDeviceVersion(DeviceVersion version);

  private:
    mutable std::mutex m_mutex;
    SettingsImage m_device;
    SettingsImage m_applied;
    DeviceVersion m_version;
};

} // namespace q905
