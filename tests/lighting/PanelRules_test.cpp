// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelLists.h"
#include "lighting/PanelRules.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

int positionOf(std::uint8_t code) {
    for (int i = 0; i < kEffectCount; ++i)
        if (EffectCatalogue[i].code == code)
            return i;
    return -1;
}

SettingsImage imageWithEffect(std::uint8_t code, std::uint8_t colourIndex) {
    SettingsImage image;
    image.at(layout::kLightingEffect) = code;
    image.at(layout::kColourIndex) = colourIndex;
    return image;
}

TEST(EffectCatalogue, NamesCodesAndUnofferedCodes) {
    EXPECT_EQ(effectName(0x37, Language::German), "Beleuchtungs Profil 5");
    for (std::uint8_t code : {0, 7, 9, 14, 0x32, 0x38, 0xFF})
        EXPECT_EQ(effectName(code), "") << int(code);
    EXPECT_EQ(palmEffectName(3), "Wave-Palm Rest");
    EXPECT_EQ(palmEffectName(4), "");
    // The speed slider follows the catalogue's column.
    for (const EffectInfo& info : EffectCatalogue)
        EXPECT_EQ(showsSpeed(info.code), info.speedShown) << info.name.english;
}

TEST(PanelRules, PickingAnEffectFixesTheColourIndexAndTheView) {
    SettingsImage image = imageWithEffect(2, kMulticolourIndex);
    EXPECT_FALSE(pickEffect(image, positionOf(effect::kStatic)));
    EXPECT_EQ(image.lightingEffect(), effect::kStatic);
    EXPECT_EQ(image.colourIndex(), 1);

    image.at(layout::kColourIndex) = 4;
    pickEffect(image, positionOf(effect::kStatic));
    EXPECT_EQ(image.colourIndex(), 4);

    for (std::uint8_t code : {effect::kWave, effect::kSpectrum}) {
        image.at(layout::kColourIndex) = 3;
        pickEffect(image, positionOf(code));
        EXPECT_EQ(image.colourIndex(), kMulticolourIndex);
    }

    EXPECT_TRUE(pickEffect(image, 11));
    EXPECT_EQ(image.lightingEffect(), 0x33);
    EXPECT_FALSE(pickEffect(image, 10));
    EXPECT_EQ(image.lightingEffect(), effect::kRadar);
}

TEST(PanelRules, ColourSwatches) {
    SettingsImage image = imageWithEffect(2, 3);
    EXPECT_EQ(clickColourSlot(image, 5), SwatchClick::Selected);
    EXPECT_EQ(image.colourIndex(), 5);
    EXPECT_EQ(clickColourSlot(image, 5), SwatchClick::EditColour);
    EXPECT_EQ(image.colourIndex(), 5);
    clickMulticolour(image);
    EXPECT_EQ(image.colourIndex(), kMulticolourIndex);

    // Grey squares under Wave do nothing; multicolour under Static does nothing.
    SettingsImage wave = imageWithEffect(effect::kWave, kMulticolourIndex);
    EXPECT_EQ(clickColourSlot(wave, 2), SwatchClick::Ignored);
    EXPECT_EQ(wave.colourIndex(), kMulticolourIndex);
    SettingsImage still = imageWithEffect(effect::kStatic, 2);
    clickMulticolour(still);
    EXPECT_EQ(still.colourIndex(), 2);
    SettingsImage profile = imageWithEffect(0x35, 2);
    EXPECT_EQ(clickColourSlot(profile, 2), SwatchClick::Ignored);
    clickMulticolour(profile);
    EXPECT_EQ(profile.colourIndex(), 2);

    storeSlotColour(image, 7, makeColour(1, 2, 3));
    EXPECT_EQ(image.at(layout::kEffectColours.offset + 18), 1);
    EXPECT_EQ(image.at(layout::kEffectColours.offset + 20), 3);
    EXPECT_EQ(slotColour(image, 7), makeColour(1, 2, 3));
}

TEST(PanelRules, PaintingNormalisesTheColourIndexOnlyWhereSquaresShow) {
    SettingsImage image = imageWithEffect(2, 0);
    normaliseColourIndex(image);
    EXPECT_EQ(image.colourIndex(), 1);
    image.at(layout::kColourIndex) = 9;
    normaliseColourIndex(image);
    EXPECT_EQ(image.colourIndex(), 8);
    SettingsImage spectrum = imageWithEffect(effect::kSpectrum, 4);
    normaliseColourIndex(spectrum);
    EXPECT_EQ(spectrum.colourIndex(), 8);
    SettingsImage profile = imageWithEffect(0x34, 0);
    normaliseColourIndex(profile);
    EXPECT_EQ(profile.colourIndex(), 0);
}

TEST(PanelRules, TogglesAndPalmRest) {
    SettingsImage image;
    image.at(layout::kWinKeyLock.offset) = 7; // any odd value turns off
    toggleWinKeyLock(image);
    EXPECT_EQ(image.winKeyLock(), 0);

    EXPECT_TRUE(palmColourEditable(image));
    pickPalmEffect(image, 2);
    EXPECT_FALSE(palmColourEditable(image));
    pickPalmEffect(image, 4); // beyond the list: kept
    EXPECT_EQ(palmEffect(image), 2);
    storePalmColour(image, makeColour(9, 8, 7));
    EXPECT_EQ(image.at(layout::kPalmRestBlock.offset + 5), 9);
    EXPECT_EQ(image.at(layout::kPalmRestBlock.offset + 7), 7);
}

TEST(PanelRules, PerKeyColourWritesTheSelectedRecordsOfTheCurrentPage) {
    SettingsImage image = imageWithEffect(0x35, 1);
    const std::size_t page = layout::perKeyColourPage(2).offset;
    image.at(page + 20) = 0x11; // byte 0 of a record is always written as 0
    std::array<bool, kKeyCount> selected{};
    selected[0] = true;  // Esc, offset 20
    selected[18] = true; // an unplaced key is written too when selected
    const SettingsImage before = image;
    ASSERT_TRUE(writePerKeyColour(image, selected, makeColour(0xAA, 0xBB, 0xCC)));

    for (std::size_t offset : {page + 20, page + KeyTable[18].matrixOffset}) {
        EXPECT_EQ(image.at(offset), 0);
        EXPECT_EQ(image.at(offset + 1), 0xAA);
        EXPECT_EQ(image.at(offset + 3), 0xCC);
    }
    EXPECT_EQ(perKeyColour(image, 2, 0), makeColour(0xAA, 0xBB, 0xCC));
    int changedBytes = 0;
    for (std::size_t i = 0; i < kSettingsImageSize; ++i)
        changedBytes += image.at(i) != before.at(i) ? 1 : 0;
    EXPECT_EQ(changedBytes, 7);
}

TEST(PanelRules, PerKeyColourOutsideALightingProfileWritesNothing) {
    std::array<bool, kKeyCount> selected{};
    selected.fill(true);
    for (std::uint8_t code : {0, 3, 0x32, 0x38}) {
        SettingsImage image = imageWithEffect(code, 1);
        const SettingsImage before = image;
        EXPECT_FALSE(writePerKeyColour(image, selected, makeColour(1, 1, 1))) << int(code);
        EXPECT_EQ(image, before);
    }
}

TEST(PanelLists, RowsAndTheirEdges) {
    EXPECT_EQ(effectListRowAt(28, 148), 0);
    EXPECT_EQ(effectListRowAt(248, 467), 15);
    EXPECT_EQ(effectListRowAt(248, 468), std::nullopt);
    EXPECT_EQ(effectListRowAt(249, 200), std::nullopt);
    EXPECT_EQ(effectListRowAt(27, 200), std::nullopt);
    EXPECT_EQ(palmListRowAt(100, 411), 3);
    EXPECT_EQ(palmListRowAt(100, 412), std::nullopt);
    EXPECT_EQ(palmListRowAt(100, 331), std::nullopt);
}

} // namespace
} // namespace q905
