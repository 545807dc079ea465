// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PanelRules.h"

#include "lighting/EffectCatalogue.h"

namespace q905 {

namespace {
std::size_t slotOffset(int slot) {
    return layout::colourTriple(slot - 1).offset;
}
bool isColourSlot(int slot) {
    return slot >= 1 && slot <= kColourSlotCount;
}

ColourValue readColour(const SettingsImage& image, std::size_t offset) {
    return makeColour(image.at(offset), image.at(offset + 1), image.at(offset + 2));
}
void writeColour(SettingsImage& image, std::size_t offset, ColourValue colour) {
    image.at(offset) = redOf(colour);
    image.at(offset + 1) = greenOf(colour);
    image.at(offset + 2) = blueOf(colour);
}
} // namespace

bool pickEffect(SettingsImage& image, int position) {
    if (position < 0 || position >= kEffectCount)
        return isProfileEffect(image.lightingEffect());
    const std::uint8_t code = EffectCatalogue[position].code;
    image.at(layout::kLightingEffect) = code;
    std::uint8_t& colourIndex = image.at(layout::kColourIndex);
    if (code == effect::kStatic && colourIndex == kMulticolourIndex)
        colourIndex = 1;
    if (isMulticolourOnly(code))
        colourIndex = kMulticolourIndex;
    return code >= effect::kFirstProfile;
}

SwatchClick clickColourSlot(SettingsImage& image, int slot) {
    const std::uint8_t code = image.lightingEffect();
    if (!isColourSlot(slot) || !showsSwatches(code) || isMulticolourOnly(code))
        return SwatchClick::Ignored;
    std::uint8_t& colourIndex = image.at(layout::kColourIndex);
    const bool alreadySelected = colourIndex == slot;
    colourIndex = static_cast<std::uint8_t>(slot);
    return alreadySelected ? SwatchClick::EditColour : SwatchClick::Selected;
}

void clickMulticolour(SettingsImage& image) {
    const std::uint8_t code = image.lightingEffect();
    if (!showsSwatches(code) || code == effect::kStatic)
        return;
    image.at(layout::kColourIndex) = kMulticolourIndex;
}

ColourValue slotColour(const SettingsImage& image, int slot) {
    return isColourSlot(slot) ? readColour(image, slotOffset(slot)) : 0;
}

void storeSlotColour(SettingsImage& image, int slot, ColourValue colour) {
    if (isColourSlot(slot))
        writeColour(image, slotOffset(slot), colour);
}

std::uint8_t normalisedColourIndex(const SettingsImage& image) {
    const std::uint8_t code = image.lightingEffect();
    const std::uint8_t colourIndex = image.colourIndex();
    if (!showsSwatches(code))
        return colourIndex;
    if (isMulticolourOnly(code) || colourIndex > kMulticolourIndex)
        return kMulticolourIndex;
    return colourIndex == 0 ? 1 : colourIndex;
}

void normaliseColourIndex(SettingsImage& image) {
    image.at(layout::kColourIndex) = normalisedColourIndex(image);
}

void setDirection(SettingsImage& image, std::uint8_t value) {
    image.at(layout::kDirection) = value;
}

void toggleGameMode(SettingsImage& image) {
    std::uint8_t& gameMode = image.at(layout::kGameMode.offset);
    gameMode = (gameMode + 1) & 1;
}

void toggleWinKeyLock(SettingsImage& image) {
    std::uint8_t& lock = image.at(layout::kWinKeyLock.offset);
    lock = (lock + 1) & 1;
}

std::uint8_t palmEffect(const SettingsImage& image) {
    return image.at(palm::kEffect);
}

void pickPalmEffect(SettingsImage& image, int row) {
    if (row >= 0 && row < kPalmEffectCount)
        image.at(palm::kEffect) = static_cast<std::uint8_t>(row);
}

void setPalmDirection(SettingsImage& image, std::uint8_t value) {
    image.at(palm::kDirection) = value;
}

bool palmColourEditable(const SettingsImage& image) {
    return palmEffect(image) <= 1;
}

ColourValue palmColour(const SettingsImage& image) {
    return readColour(image, palm::kRed);
}

void storePalmColour(SettingsImage& image, ColourValue colour) {
    writeColour(image, palm::kRed, colour);
}

int currentPerKeyPage(const SettingsImage& image) {
    const std::uint8_t code = image.lightingEffect();
    return isProfileEffect(code) ? code - effect::kFirstProfile : -1;
}

ColourValue perKeyColour(const SettingsImage& image, int page, int keyIndex) {
    const std::size_t record =
        layout::perKeyColourPage(page).offset + KeyTable[keyIndex].matrixOffset;
    return readColour(image, record + 1);
}

void storePerKeyColour(SettingsImage& image, int page, int keyIndex, ColourValue colour) {
    const std::size_t record =
        layout::perKeyColourPage(page).offset + KeyTable[keyIndex].matrixOffset;
    image.at(record) = 0;
    writeColour(image, record + 1, colour);
}

bool writePerKeyColour(SettingsImage& image, const std::array<bool, kKeyCount>& selectedKeys,
                       ColourValue colour) {
    const int page = currentPerKeyPage(image);
    if (page < 0)
        return false;
    for (int key = 0; key < kKeyCount; ++key)
        if (selectedKeys[key])
            storePerKeyColour(image, page, key, colour);
    return true;
}

} // namespace q905
