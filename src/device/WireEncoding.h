// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How settings travel on the wire, declared once for both ends: the host's reader, writer and
// notification reader, and the emulated keyboard. The image always holds the step the user
// sees; only frames and notifications carry the wire form.

#include "device/Reports.h"
#include "device/SettingsImage.h"

#include <array>
#include <cstdint>
#include <optional>

namespace q905::wire {

// The keyboard counts speed downwards: step s travels as ten minus s. The mapping is its own
// inverse, so one expression serves both directions (step 255 travels as 11 and back).
constexpr std::uint8_t speedToWire(std::uint8_t step) {
    return static_cast<std::uint8_t>(10 - step);
}
constexpr std::uint8_t speedFromWire(std::uint8_t wireValue) {
    return speedToWire(wireValue);
}

// The keyboard holds and reports the response time as step + 1 (1..10).
constexpr std::uint8_t responseTimeToWire(std::uint8_t step) {
    return static_cast<std::uint8_t>(step + 1);
}
constexpr std::uint8_t responseTimeFromWire(std::uint8_t wireValue) {
    return static_cast<std::uint8_t>(wireValue - 1);
}

// The keyboard keeps no Windows key lock flag: the lock is on when the left Windows key's bit
// (bit 0 of the mask's second byte) is clear.
constexpr std::uint8_t winKeyLockFromMask(std::uint8_t winKeyMaskByte) {
    return (winKeyMaskByte & 0x01) ? 0 : 1;
}

// Byte positions within a feature frame: parameter pN sits at byte N + 1.
constexpr std::size_t paramByte(int n) {
    return frame::kFirstParam + static_cast<std::size_t>(n) - 1;
}

// Replies to the read requests.
namespace reply {
// Every one-byte read (0x81, 0x84, 0x89) answers in p1.
inline constexpr std::size_t kValue = paramByte(1);
inline constexpr std::size_t kVersionMajor = paramByte(1);
inline constexpr std::size_t kVersionMinor = paramByte(2);
// 0x94 answers red, green, blue in p3..p5.
inline constexpr std::size_t kColourTripleRgb = paramByte(3);
// 0x87 answers with the palm-rest block itself in bytes 1..8, command byte first.
inline constexpr std::size_t kPalmRestBlock = frame::kCommand;
} // namespace reply

// Byte positions of a notification report: report id, type, code (a lighting field or a key
// code), value.
namespace notify {
inline constexpr std::size_t kType = 1;
inline constexpr std::size_t kCode = 2;
inline constexpr std::size_t kValue = 3;
} // namespace notify

// The lighting fields. Field n (2..6) is parameter pn of 0x08 and of the 0x88 reply, field n
// of a lighting notification, and image byte n - 2 of LightingParams: effect, speed,
// brightness, colour index, direction.
namespace lighting {
inline constexpr std::uint8_t kFirstField = notification::kEffectField;
inline constexpr std::uint8_t kLastField = notification::kDirectionField;
static_assert(kLastField - kFirstField + 1 == layout::kLightingParams.size);
static_assert(layout::kLightingParams.offset + notification::kSpeedField - kFirstField ==
              layout::kSpeedStep);
static_assert(layout::kLightingParams.offset + notification::kBrightnessField - kFirstField ==
              layout::kBrightness);

// The image byte a lighting field updates; nullopt for a field that is no lighting field.
constexpr std::optional<std::size_t> imageOffset(std::uint8_t field) {
    if (field < kFirstField || field > kLastField)
        return std::nullopt;
    return layout::kLightingParams.offset + (field - kFirstField);
}
constexpr std::uint8_t toWire(std::uint8_t field, std::uint8_t stored) {
    return field == notification::kSpeedField ? speedToWire(stored) : stored;
}
constexpr std::uint8_t fromWire(std::uint8_t field, std::uint8_t wireValue) {
    return field == notification::kSpeedField ? speedFromWire(wireValue) : wireValue;
}

using Params = std::array<std::uint8_t, layout::kLightingParams.size>;

// The image's lighting parameters as p2..p6 (p1 left 0, brightness included).
inline CommandParams toWire(const SettingsImage& image) {
    std::array<std::uint8_t, 6> p{};
    for (std::uint8_t field = kFirstField; field <= kLastField; ++field)
        p[field - 1] = toWire(field, image.at(*imageOffset(field)));
    return {p[0], p[1], p[2], p[3], p[4], p[5]};
}
// p2..p6 of a lighting frame or reply in the image's encoding.
inline Params fromWire(const FeatureFrame& f) {
    Params params{};
    for (std::uint8_t field = kFirstField; field <= kLastField; ++field)
        params[field - kFirstField] = fromWire(field, f[paramByte(field)]);
    return params;
}
} // namespace lighting

} // namespace q905::wire
