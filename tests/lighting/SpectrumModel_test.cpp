// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/SpectrumModel.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

// The size the colour dialog gives the control: spectrum (0, 10)-(125, 130), bar from x 131.
constexpr int kWidth = 160;
constexpr int kHeight = 140;
constexpr int kBottomRow = kHeight - 11;
constexpr int kBarX = 140;

SpectrumModel makeModel(ColourValue colour) {
    return SpectrumModel(kWidth, kHeight, colour);
}

TEST(SpectrumModel, SetRgbPlacesCrosshairAndArrowWithoutNotice) {
    SpectrumModel dark = makeModel(makeColour(12, 12, 12));
    EXPECT_EQ(dark.hsl(), (Hsl{0, 0, 11}));
    EXPECT_EQ(dark.crosshairX(), 0);
    EXPECT_EQ(dark.crosshairY(), kBottomRow);
    EXPECT_EQ(dark.arrowOffset(), 120 - 11 * 120 / 240);

    SpectrumModel model = makeModel(makeColour(255, 0, 0));
    EXPECT_EQ(model.hsl(), (Hsl{0, 240, 120}));
    EXPECT_EQ(model.crosshairY(), 10); // full saturation on the top row
    EXPECT_EQ(model.arrowOffset(), 60);

    model.setColour(makeColour(0, 0, 255));
    EXPECT_EQ(model.hsl(), (Hsl{160, 240, 120}));
    EXPECT_EQ(model.crosshairX(), 125 * 160 / 239);
    EXPECT_EQ(model.colour(), makeColour(0, 0, 255));
    EXPECT_EQ(model.notifiedColour(), makeColour(0, 0, 255));
}

TEST(SpectrumModel, HomeAndEndMoveTheCrosshairToTheSpectrumsEdges) {
    SpectrumModel model = makeModel(makeColour(255, 0, 0));
    model.focusIn(false);
    SpectrumChange change = model.key(SpectrumKey::End, false, false);
    EXPECT_EQ(model.hsl().hue, 239);
    EXPECT_EQ(model.crosshairX(), kWidth - 36);
    EXPECT_TRUE(change.spectrumRedraw);
    EXPECT_EQ(change.selectionChanged, hslToRgb(239, 240, 120));
    EXPECT_EQ(model.notifiedColour(), hslToRgb(239, 240, 120));

    model.key(SpectrumKey::Home, false, false);
    EXPECT_EQ(model.hsl().hue, 0);
    EXPECT_EQ(model.crosshairX(), 0);
}

TEST(SpectrumModel, TheBarsTopRowIsFullLuminosityAndItsBottomRowNone) {
    SpectrumModel model = makeModel(makeColour(0, 0, 255));
    SpectrumChange change = model.buttonDown(kBarX, 10);
    EXPECT_EQ(model.hsl().luminosity, 240);
    EXPECT_EQ(change.selectionChanged, makeColour(255, 255, 255));
    EXPECT_TRUE(model.barFocused());
    EXPECT_FALSE(model.spectrumFocused());
    EXPECT_EQ(model.arrowOffset(), 0);

    model.buttonDown(kBarX, kBottomRow);
    EXPECT_EQ(model.hsl().luminosity, 0);
    EXPECT_EQ(model.colour(), makeColour(0, 0, 0));
    EXPECT_EQ(model.arrowOffset(), 119);
    EXPECT_EQ(model.arrowTop(), 119 + 2);

    // Above the spectrum's top the bar still clamps to full luminosity.
    model.buttonDown(kBarX, 4);
    EXPECT_EQ(model.hsl().luminosity, 240);
}

TEST(SpectrumModel, PickingTheSpectrumMatchesItsPicture) {
    SpectrumModel model = makeModel(makeColour(12, 12, 12));
    model.buttonDown(0, 0); // neither part: nothing changes
    EXPECT_EQ(model.colour(), makeColour(12, 12, 12));

    const SpectrumChange change = model.buttonDown(124, 10);
    EXPECT_EQ(model.hsl().hue, 239);
    EXPECT_EQ(model.hsl().saturation, 240);
    EXPECT_EQ(model.crosshairX(), 124);
    EXPECT_EQ(model.crosshairY(), 10);
    EXPECT_TRUE(model.spectrumFocused());
    EXPECT_TRUE(model.spectrumDrag());
    EXPECT_EQ(change.selectionChanged, model.colour());

    EXPECT_EQ(model.picturePixel(0, 10), makeColour(255, 0, 0));
    EXPECT_EQ(model.picturePixel(0, kBottomRow), makeColour(127, 127, 127));
    EXPECT_EQ(model.picturePixel(125, 50), kSpectrumGrey);
    EXPECT_EQ(model.picturePixel(50, 9), kSpectrumGrey);
    model.buttonDown(0, kBottomRow);
    EXPECT_EQ(model.hsl().saturation, 0);
}

TEST(SpectrumModel, DraggingFollowsOnlyThePartItStartedIn) {
    SpectrumModel model = makeModel(makeColour(255, 0, 0));
    model.buttonDown(10, 20);
    SpectrumChange change = model.move(60, 40, true);
    EXPECT_EQ(model.crosshairX(), 60);
    EXPECT_EQ(model.crosshairY(), 40);
    EXPECT_TRUE(change.selectionChanged);

    const Hsl before = model.hsl();
    change = model.move(kBarX, 40, true); // over the bar, but the drag began in the spectrum
    EXPECT_EQ(model.hsl(), before);
    EXPECT_FALSE(change.selectionChanged);

    model.move(60, 40, false); // the button went up somewhere else
    EXPECT_FALSE(model.spectrumDrag());
    change = model.move(20, 20, true);
    EXPECT_FALSE(change.selectionChanged);
    EXPECT_EQ(model.crosshairX(), 60);
}

TEST(SpectrumModel, KeysStepAndClampAndTabWalksSpectrumThenBarThenOut) {
    SpectrumModel model = makeModel(hslToRgb(100, 100, 100));
    const Hsl start = model.hsl();
    model.focusIn(false);
    model.key(SpectrumKey::Right, false, true);
    model.key(SpectrumKey::Left, true, true); // Ctrl wins over Shift
    EXPECT_EQ(model.hsl().hue, start.hue + 10 - 1);
    model.key(SpectrumKey::PageDown, false, false);
    model.key(SpectrumKey::Down, false, false);
    EXPECT_EQ(model.hsl().saturation, 0);
    EXPECT_EQ(model.crosshairY(), kBottomRow);
    EXPECT_EQ(model.key(SpectrumKey::Tab, false, true).focusMove,
              SpectrumFocusMove::PreviousControl);

    // Tab moves to the bar, which takes Up and Down as luminosity and ignores Left and Right.
    EXPECT_EQ(model.key(SpectrumKey::Tab, false, false).focusMove, SpectrumFocusMove::Stay);
    EXPECT_TRUE(model.barFocused());
    const Hsl onBar = model.hsl();
    EXPECT_TRUE(model.key(SpectrumKey::Left, false, false).handled);
    EXPECT_EQ(model.hsl(), onBar);
    const SpectrumChange change = model.key(SpectrumKey::Up, false, false);
    EXPECT_EQ(model.hsl().luminosity, onBar.luminosity + 5);
    EXPECT_TRUE(change.arrowRedraw);
    EXPECT_FALSE(change.spectrumRedraw);
    EXPECT_EQ(model.key(SpectrumKey::Tab, false, false).focusMove, SpectrumFocusMove::NextControl);

    // Arriving backwards lands on the bar; with neither part focused only Up and Down act.
    model.focusOut();
    model.focusIn(true);
    EXPECT_TRUE(model.barFocused());
    model.focusOut();
    model.key(SpectrumKey::Up, false, false);
    EXPECT_EQ(model.hsl().saturation, 5);
    EXPECT_FALSE(model.key(SpectrumKey::Home, false, false).handled);
}

TEST(SpectrumModel, WithoutAColourNothingIsSent) {
    SpectrumModel model = makeModel(kNoColour);
    EXPECT_FALSE(model.doubleClick(10, 20).selectionEnded);
    EXPECT_FALSE(model.barPixelRow(50));
    model.key(SpectrumKey::Tab, false, false);
    EXPECT_EQ(model.notifiedColour(), kNoColour);

    model.setColour(makeColour(0, 255, 0));
    EXPECT_EQ(model.doubleClick(kBarX, 20).selectionEnded, makeColour(0, 255, 0));
    EXPECT_FALSE(model.doubleClick(128, 20).selectionEnded); // the gap between the parts
    EXPECT_EQ(model.barPixelRow(kBottomRow), makeColour(0, 0, 0));
    EXPECT_EQ(model.barPixelRow(10), makeColour(255, 255, 255));
}

TEST(SpectrumModel, Masks) {
    int crosshairPixels = 0;
    for (int row = 0; row < kCrosshairSize; ++row)
        for (int column = 0; column < kCrosshairSize; ++column)
            crosshairPixels += SpectrumModel::crosshairMask(column, row) ? 1 : 0;
    EXPECT_EQ(crosshairPixels, 4 * 3 * 5);
    EXPECT_FALSE(SpectrumModel::crosshairMask(9, 9)); // the middle stays free

    // Row 8 is the tip; rows 0 and 16 keep only the right-hand outline.
    EXPECT_EQ(SpectrumModel::arrowMask(0, 8), ArrowPixel::Outline);
    EXPECT_EQ(SpectrumModel::arrowMask(7, 8), ArrowPixel::Fill);
    EXPECT_EQ(SpectrumModel::arrowMask(9, 8), ArrowPixel::Clear);
    EXPECT_EQ(SpectrumModel::arrowMask(7, 0), ArrowPixel::Clear);
    EXPECT_EQ(SpectrumModel::arrowMask(8, 16), ArrowPixel::Outline);
}

} // namespace
} // namespace q905
