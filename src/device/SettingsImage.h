// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings image with named access to its fields; the bytes are the truth.

#include "device/SettingsLayout.h"

#include <array>
#include <cstdint>
#include <span>

namespace q905 {

class SettingsImage {
  public:
    using Bytes = std::array<std::uint8_t, kSettingsImageSize>;

    Bytes& bytes() { return m_bytes; }
    const Bytes& bytes() const { return m_bytes; }
    std::uint8_t* data() { return m_bytes.data(); }
    const std::uint8_t* data() const { return m_bytes.data(); }

    std::span<std::uint8_t> block(Block block) {
        return {m_bytes.data() + block.offset, block.size};
    }
    std::span<const std::uint8_t> block(Block block) const {
        return {m_bytes.data() + block.offset, block.size};
    }
    std::uint8_t& at(std::size_t offset) { return m_bytes[offset]; }
    std::uint8_t at(std::size_t offset) const { return m_bytes[offset]; }

    bool sameBlock(const SettingsImage& other, Block block) const;

    std::uint8_t reportRate() const { return at(layout::kReportRate.offset); }
    std::uint8_t responseTime() const { return at(layout::kResponseTime.offset); }
    std::uint8_t lightingEffect() const { return at(layout::kLightingEffect); }
    std::uint8_t speedStep() const { return at(layout::kSpeedStep); }
    std::uint8_t brightness() const { return at(layout::kBrightness); }
    std::uint8_t colourIndex() const { return at(layout::kColourIndex); }
    std::uint8_t direction() const { return at(layout::kDirection); }
    std::uint8_t gameMode() const { return at(layout::kGameMode.offset); }
    std::uint8_t winKeyLock() const { return at(layout::kWinKeyLock.offset); }

    // Carries the Windows key lock into KeyEnableMask: lock on clears bits 0, 6 and 7 of the
    // mask's second byte, lock off sets bit 0.
    void foldWinKeyLock();

    bool operator==(const SettingsImage&) const = default;

  private:
    Bytes m_bytes{};
};

} // namespace q905
