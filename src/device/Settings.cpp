// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Settings.h"

#include <algorithm>

namespace q905 {

void Settings::snapshot() {
    std::lock_guard lock(m_mutex);
    m_applied = m_device;
}

void Settings::revert() {
    std::lock_guard lock(m_mutex);
    m_device = m_applied;
}

SettingsImage Settings::deviceCopy() const {
    std::lock_guard lock(m_mutex);
    return m_device;
}

SettingsImage Settings::appliedCopy() const {
    std::lock_guard lock(m_mutex);
    return m_applied;
}

std::uint8_t Settings::deviceByte(std::size_t offset) const {
    std::lock_guard lock(m_mutex);
    return m_device.at(offset);
}

void Settings::storeDeviceBytes(std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(m_mutex);
    std::copy(bytes.begin(), bytes.end(), m_device.data() + offset);
}

void Settings::storeInBoth(std::size_t offset, std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    m_device.at(offset) = value;
    m_applied.at(offset) = value;
}

DeviceVersion Settings::deviceVersion() const {
    std::lock_guard lock(m_mutex);
    return m_version;
}

void Settings::setDeviceVersion(DeviceVersion version) {
    std::lock_guard lock(m_mutex);
    m_version = version;
}

} // namespace q905
