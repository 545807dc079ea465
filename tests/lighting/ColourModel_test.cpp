// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/BasicColourTable.h"
#include "lighting/ColourModel.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

TEST(ColourModel, RgbToHslRoundsToTheNearestStep) {
    EXPECT_EQ(rgbToHsl(makeColour(12, 12, 12)), (Hsl{0, 0, 11}));
    EXPECT_EQ(rgbToHsl(makeColour(255, 0, 0)), (Hsl{0, 240, 120}));
    EXPECT_EQ(rgbToHsl(makeColour(0, 0, 255)), (Hsl{160, 240, 120}));
    EXPECT_EQ(rgbToHsl(makeColour(0, 255, 0)), (Hsl{80, 240, 120}));
    EXPECT_EQ(rgbToHsl(makeColour(255, 255, 255)), (Hsl{0, 0, 240}));
    // Light colours take the other saturation formula.
    EXPECT_EQ(rgbToHsl(makeColour(255, 128, 128)), (Hsl{0, 240, 180}));
}

TEST(ColourModel, AHueOfAFullTurnIsKeptAs239) {
    // Just short of red going round: the real hue is 239.84, which rounds to 240.
    EXPECT_GT(rgbToHslReal(makeColour(255, 0, 1)).hue, 239.5);
    EXPECT_EQ(rgbToHsl(makeColour(255, 0, 1)).hue, 239);
}

TEST(ColourModel, HslToRgbDropsFractions) {
    EXPECT_EQ(hslToRgb(0, 0, 240), makeColour(255, 255, 255));
    EXPECT_EQ(hslToRgb(80, 240, 120), makeColour(0, 255, 0));
    EXPECT_EQ(hslToRgb(0, 240, 120), makeColour(255, 0, 0));
    EXPECT_EQ(hslToRgb(160, 240, 120), makeColour(0, 0, 255));
    EXPECT_EQ(hslToRgb(0, 0, 0), makeColour(0, 0, 0));
    // Grey from luminosity alone: 120 / 240 * 255 = 127.5, truncated.
    EXPECT_EQ(hslToRgb(200, 0, 120), makeColour(127, 127, 127));
    // 2/3 - 1/2 in doubles is a hair under 1/6: red lands on 254.999..., kept as 254.
    EXPECT_EQ(hslToRgb(40, 240, 120), makeColour(254, 255, 0));
}

TEST(BasicColourTable, CellsAreFoundByPositionEdgesIncluded) {
    EXPECT_EQ(colourCellAt(13, 41), 0);
    EXPECT_EQ(colourCellAt(13 + 13, 41 + 12), 0);
    EXPECT_EQ(colourCellAt(13 + 14, 41), std::nullopt); // between two cells
    EXPECT_EQ(colourCellAt(13 + 19 * 7, 122), 47);
    EXPECT_EQ(colourCellAt(13, 122 + 13), std::nullopt);
    EXPECT_EQ(colourCellAt(13 + 19 * 2, 178), 58);

    EXPECT_EQ(BasicColourTable[40].colour, makeColour(0, 0, 0));
    EXPECT_EQ(BasicColourTable[47].colour, makeColour(255, 255, 255));
    for (int i = 48; i < kColourCellCount; ++i)
        EXPECT_EQ(BasicColourTable[i].colour, makeColour(255, 255, 255)) << i;
}

TEST(BasicColourTable, TheFirstCellOfAColourWins) {
    EXPECT_EQ(firstCellWithColour(makeColour(255, 255, 255)), 47);
    EXPECT_EQ(firstCellWithColour(makeColour(128, 128, 255)), 14); // also cell 21
    EXPECT_EQ(firstCellWithColour(makeColour(64, 0, 64)), 38);     // also cell 46
    EXPECT_EQ(firstCellWithColour(kDialogStartColour), std::nullopt);
}

} // namespace
} // namespace q905
