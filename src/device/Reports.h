// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three report shapes exchanged with the keyboard, built in one place.

#include "device/SettingsLayout.h"

#include <array>
#include <cstdint>
#include <span>

namespace q905 {

inline constexpr std::size_t kFeatureFrameSize = 9;
inline constexpr std::size_t kDataReportSize = 65;
inline constexpr std::size_t kDataBytesPerReport = 64;
inline constexpr std::size_t kNotificationReportSize = 4;
inline constexpr std::uint8_t kNotificationReportId = 4;

// Report id 0, command byte, parameters p1..p6, checksum.
using FeatureFrame = std::array<std::uint8_t, kFeatureFrameSize>;
// Report id 0 and 64 data bytes.
using DataReport = std::array<std::uint8_t, kDataReportSize>;
// Report id 4, type, code, value.
using NotificationReport = std::array<std::uint8_t, kNotificationReportSize>;

struct CommandParams {
    std::uint8_t p1 = 0, p2 = 0, p3 = 0, p4 = 0, p5 = 0, p6 = 0;
};

namespace frame {
inline constexpr std::size_t kCommand = 1;
inline constexpr std::size_t kFirstParam = 2;
inline constexpr std::size_t kChecksum = 8;
} // namespace frame

// (0xFF - (byte1 + ... + byte7)) mod 256.
constexpr std::uint8_t frameChecksum(const FeatureFrame& f) {
    unsigned sum = 0;
    for (std::size_t i = frame::kCommand; i < frame::kChecksum; ++i)
        sum += f[i];
    return static_cast<std::uint8_t>(0xFF - sum);
}

constexpr FeatureFrame makeFeatureFrame(std::uint8_t command, CommandParams p = {}) {
    FeatureFrame f{0, command, p.p1, p.p2, p.p3, p.p4, p.p5, p.p6, 0};
    f[frame::kChecksum] = frameChecksum(f);
    return f;
}

// Notification types (byte 1) and the lighting fields of type 1 (byte 2).
namespace notification {
inline constexpr std::uint8_t kLightingChanged = 1;
inline constexpr std::uint8_t kAcknowledge = 4;
inline constexpr std::uint8_t kEffectField = 2;
inline constexpr std::uint8_t kSpeedField = 3;
inline constexpr std::uint8_t kBrightnessField = 4;
inline constexpr std::uint8_t kColourIndexField = 5;
inline constexpr std::uint8_t kDirectionField = 6;
} // namespace notification

} // namespace q905
