// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the emulated keyboard holds after a factory reset, and the two bytes of its memory that
// always follow from others.

#include "device/SettingsImage.h"

#include <cstdint>

namespace q905 {

namespace factory {
inline constexpr std::uint8_t kReportRate = 3;     // the top step
inline constexpr std::uint8_t kResponseTime = 1;   // "4ms"
inline constexpr std::uint8_t kLightingEffect = 3; // Wave
inline constexpr std::uint8_t kSpeedStep = 5;
inline constexpr std::uint8_t kBrightness = 50;
inline constexpr std::uint8_t kMulticolour = 8;
inline constexpr std::uint8_t kDirectionLeft = 1;
inline constexpr std::uint8_t kGameMode = 0;
// Red, orange, yellow, green, blue, indigo, violet.
inline constexpr std::uint8_t kRainbow[layout::kColourTripleCount][3] = {
    {0xFF, 0x00, 0x00}, {0xFF, 0x7F, 0x00}, {0xFF, 0xFF, 0x00}, {0x00, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0x4B, 0x00, 0x82}, {0x8B, 0x00, 0xFF}};
// Palm rest: static white at full brightness, middle speed, direction right.
inline constexpr std::uint8_t kPalmRest[layout::kPalmRestBlock.size] = {0x87, 0,    50,   3,
                                                                        0,    0xFF, 0xFF, 0xFF};
} // namespace factory

// A read of the palm-rest block reports its own command byte in byte 0.
inline constexpr std::uint8_t kPalmRestReadMarker = 0x87;

// Factory settings into every block a command reaches; the reserved ranges stay as they are.
void applyFactorySettings(SettingsImage& memory);

// Makes the derived bytes agree with the rest, as a read of the keyboard would leave them:
// WinKeyLock from bit 0 of the second KeyEnableMask byte, the palm-rest command byte.
void normaliseMemory(SettingsImage& memory);

} // namespace q905
