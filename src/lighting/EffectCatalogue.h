// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting effects the panel offers, in list order, and the palm-rest effects.

#include "base/Language.h"
#include "base/WindowText.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace q905 {

enum class EffectColours {
    SlotsOnly, // Static: no multicolour
    SlotsAndMulticolour,
    MulticolourOnly, // the seven squares are grey and do nothing
    PerKeyPage,      // a lighting profile: colours come from its per-key page
};

struct EffectInfo {
    std::uint8_t code; // the value of LightingEffect
    WindowText name;
    std::string_view cliName; // what q905ctl's set effect=NAME takes
    bool speedShown;
    EffectColours colours;
    bool hasDirection;
};

namespace effect {
inline constexpr std::uint8_t kStatic = 1;
inline constexpr std::uint8_t kWave = 3;
inline constexpr std::uint8_t kSpectrum = 8;
inline constexpr std::uint8_t kRadar = 13;
inline constexpr std::uint8_t kFirstProfile = 0x33;
inline constexpr std::uint8_t kLastProfile = 0x37;
// Codes above this have no colour squares and no speed.
inline constexpr std::uint8_t kLastWithSwatches = 50;
} // namespace effect

inline constexpr int kEffectCount = 16;
extern const std::array<EffectInfo, kEffectCount> EffectCatalogue;

// The catalogue row of a code, or null for a code the list does not offer.
const EffectInfo* findEffect(std::uint8_t code);
// The list position of a code, if the list offers it.
std::optional<int> effectPosition(std::uint8_t code);
// Empty for a code the list does not offer.
std::string_view effectName(std::uint8_t code, Language language = Language::English);
// The list position of the effect with this command-line name, if any.
std::optional<int> effectPositionNamed(std::string_view cliName);

constexpr bool isProfileEffect(std::uint8_t code) {
    return code >= effect::kFirstProfile && code <= effect::kLastProfile;
}
constexpr bool isMulticolourOnly(std::uint8_t code) {
    return code == effect::kWave || code == effect::kSpectrum;
}
constexpr bool showsSwatches(std::uint8_t code) {
    return code <= effect::kLastWithSwatches;
}
constexpr bool showsSpeed(std::uint8_t code) {
    return code != effect::kStatic && code <= effect::kLastWithSwatches;
}
constexpr bool showsDirection(std::uint8_t code) {
    return code == effect::kWave || code == effect::kRadar;
}

// Palm-rest effects: the code is the list position.
struct PalmEffectInfo {
    WindowText name;
    std::string_view cliName; // what q905ctl's set palm.effect=NAME takes
};
inline constexpr int kPalmEffectCount = 4;
inline constexpr std::uint8_t kPalmWave = 3;
// Named in English in both languages, like the rest of the palm-rest block.
inline constexpr std::array<PalmEffectInfo, kPalmEffectCount> PalmEffectList{{
    {{"Static-Palm Rest", "Static-Palm Rest"}, "static"},
    {{"Breathing-Palm Rest", "Breathing-Palm Rest"}, "breathing"},
    {{"Vortex-Palm Rest", "Vortex-Palm Rest"}, "vortex"},
    {{"Wave-Palm Rest", "Wave-Palm Rest"}, "wave"},
}};
// Empty for a code beyond the list.
std::string_view palmEffectName(std::uint8_t code, Language language = Language::English);
// The palm-rest code with this command-line name, if any.
std::optional<int> palmEffectNamed(std::string_view cliName);

} // namespace q905
