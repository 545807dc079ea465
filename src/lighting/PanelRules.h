// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the lighting panel's controls do to the settings image: effect choice, colour swatches,
// directions, the two toggles, the palm rest and the per-key colour pages.

#include "device/SettingsImage.h"
#include "keys/KeyTable.h"
#include "lighting/ColourModel.h"

#include <array>
#include <cstdint>

namespace q905 {

namespace palm {
// Byte positions inside PalmRestBlock; byte 0 belongs to the apply sequence.
inline constexpr std::size_t kEffect = layout::kPalmRestBlock.offset + 1;
inline constexpr std::size_t kBrightness = layout::kPalmRestBlock.offset + 2;
inline constexpr std::size_t kSpeed = layout::kPalmRestBlock.offset + 3;
inline constexpr std::size_t kDirection = layout::kPalmRestBlock.offset + 4;
inline constexpr std::size_t kRed = layout::kPalmRestBlock.offset + 5;
inline constexpr std::uint8_t kDirectionRight = 0;
inline constexpr std::uint8_t kDirectionLeft = 1;
} // namespace palm

namespace direction {
inline constexpr std::uint8_t kLeft = 1;
inline constexpr std::uint8_t kRight = 2;
inline constexpr std::uint8_t kTop = 3;
inline constexpr std::uint8_t kBottom = 4;
} // namespace direction

inline constexpr int kColourSlotCount = 7;
inline constexpr std::uint8_t kMulticolourIndex = 8;

// Chooses the effect at list position 0..15 and returns the per-key colour mode that goes with
// it: on for a lighting profile, off otherwise.
bool pickEffect(SettingsImage& image, int position);

enum class SwatchClick {
    Ignored,    // the squares do nothing under this effect
    Selected,   // the slot is now the ColourIndex
    EditColour, // the slot was already selected: the colour dialog opens for it
};
// A click on colour slot 1..7.
SwatchClick clickColourSlot(SettingsImage& image, int slot);
void clickMulticolour(SettingsImage& image);
ColourValue slotColour(const SettingsImage& image, int slot);
void storeSlotColour(SettingsImage& image, int slot, ColourValue colour);

// The squares' state after any change of the image: 0 becomes slot 1, anything above 8
// multicolour, and Wave and Spectrum always multicolour. Effects without squares keep their byte.
std::uint8_t normalisedColourIndex(const SettingsImage& image);
void normaliseColourIndex(SettingsImage& image);

void setDirection(SettingsImage& image, std::uint8_t value);
void toggleGameMode(SettingsImage& image);
void toggleWinKeyLock(SettingsImage& image);

std::uint8_t palmEffect(const SettingsImage& image);
void pickPalmEffect(SettingsImage& image, int row);
void setPalmDirection(SettingsImage& image, std::uint8_t value);
// Only the static and breathing palm effects have a colour of their own.
bool palmColourEditable(const SettingsImage& image);
ColourValue palmColour(const SettingsImage& image);
void storePalmColour(SettingsImage& image, ColourValue colour);

// The per-key colour page of the current lighting profile, or -1 when the effect is not one.
int currentPerKeyPage(const SettingsImage& image);
ColourValue perKeyColour(const SettingsImage& image, int page, int keyIndex);
// The key's record on per-key colour page 0..4 becomes 0, R, G, B.
void storePerKeyColour(SettingsImage& image, int page, int keyIndex, ColourValue colour);
// Every selected key's record on the current profile's page becomes 0, R, G, B. Returns false,
// writing nothing, when the effect is not a lighting profile: there is no page to write.
bool writePerKeyColour(SettingsImage& image, const std::array<bool, kKeyCount>& selectedKeys,
                       ColourValue colour);

} // namespace q905
