// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PanelRules.h"
#include "lighting/PanelSliders.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

TEST(PanelSliders, PositionsAreStoredWithTheirEncodings) {
    SettingsImage image;
    storeSliderPosition(image, slider::kPalmSpeed, 4);
    EXPECT_EQ(image.at(palm::kSpeed), 5);
    EXPECT_EQ(sliderPositionFromImage(image, slider::kPalmSpeed), 4);
    storeSliderPosition(image, slider::kSpeed, 0);
    EXPECT_EQ(image.speedStep(), 0);
    storeSliderPosition(image, slider::kResponseTime, 9);
    EXPECT_EQ(image.responseTime(), 9);
    storeSliderPosition(image, slider::kReportRate, 3);
    EXPECT_EQ(image.reportRate(), 3);
    storeSliderPosition(image, slider::kBrightness, 50);
    storeSliderPosition(image, slider::kPalmBrightness, 17);
    EXPECT_EQ(image.brightness(), 50);
    EXPECT_EQ(image.at(palm::kBrightness), 17);

    const SettingsImage before = image;
    storeSliderPosition(image, 1234, 3); // not a panel slider
    EXPECT_EQ(image, before);

    image.at(palm::kSpeed) = 0;
    EXPECT_EQ(sliderPositionFromImage(image, slider::kPalmSpeed), -1);
}

TEST(PanelSliders, KeyboardReportsMoveSpeedAndBrightnessOnly) {
    const auto speed = sliderForKeyboardReport(3, 0);
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->controlId, slider::kSpeed);
    EXPECT_EQ(speed->position, 0);
    const auto brightness = sliderForKeyboardReport(4, 33);
    ASSERT_TRUE(brightness);
    EXPECT_EQ(brightness->controlId, slider::kBrightness);
    EXPECT_EQ(brightness->position, 33);
    for (std::uint8_t field : {2, 5, 6, 7})
        EXPECT_FALSE(sliderForKeyboardReport(field, 1)) << int(field);
}

TEST(PanelSliders, ValuesAreSaidWithTheirUnits) {
    EXPECT_EQ(sliderValueText(slider::kResponseTime, 0, Language::English), "2 ms");
    EXPECT_EQ(sliderValueText(slider::kResponseTime, 9, Language::German), "20 ms");
    EXPECT_EQ(sliderValueText(slider::kReportRate, 3, Language::English), "1000 Hz");
    EXPECT_EQ(sliderValueText(slider::kBrightness, 25, Language::English), "50 %");
    EXPECT_EQ(sliderValueText(slider::kPalmSpeed, 2, Language::German), "3 von 5");
    EXPECT_EQ(sliderValueText(slider::kPalmSpeed, -1, Language::English), "1 of 5")
        << "a palm speed stored as 0 lies below the slider's range";
}

TEST(PanelSliders, DrawSliderNudgesSomeThumbs) {
    const ThumbOffset atStart = thumbOffset(thumbRect(0, 0, 9));
    EXPECT_EQ(drawSliderLayout(slider::kSpeed, 0, atStart), (SliderPicture{0, 0, 220, 0, 1}));
    EXPECT_EQ(drawSliderLayout(slider::kResponseTime, 0, atStart),
              (SliderPicture{3, 3, 217, 3, 1}));
    EXPECT_EQ(drawSliderLayout(slider::kReportRate, 0, atStart).thumbX, 2);
    EXPECT_EQ(drawSliderLayout(slider::kPalmBrightness, 0, atStart).thumbX, 2);

    const ThumbOffset atEnd = thumbOffset(thumbRect(4, 0, 4));
    EXPECT_EQ(drawSliderLayout(slider::kPalmSpeed, 4, atEnd).thumbX, 206);
    EXPECT_EQ(drawSliderLayout(slider::kBrightness, 50, thumbOffset(thumbRect(50, 0, 50))),
              (SliderPicture{205, 205, 15, 205, 1}));
    // A thumb offset beyond the track never gives a negative width.
    EXPECT_EQ(drawSliderLayout(slider::kSpeed, 9, {230, 0}).emptyWidth, 0);
}

} // namespace
} // namespace q905
