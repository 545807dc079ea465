// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/BitmapButtonState.h"
#include "controls/StripFrames.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

TEST(StripFrames, FramesLieSideBySideOrStacked) {
    const StripFrames wide(60, 14, 15, 14);
    EXPECT_FALSE(wide.vertical());
    EXPECT_EQ(wide.frameCount(), 4);
    EXPECT_EQ(wide.frame(2), (FrameRect{30, 0, 15, 14}));
    EXPECT_EQ(wide.frame(4), std::nullopt);

    const StripFrames tall(15, 42, 15, 14);
    EXPECT_TRUE(tall.vertical());
    EXPECT_EQ(tall.frameCount(), 3);
    EXPECT_EQ(tall.frame(1), (FrameRect{0, 14, 15, 14}));

    const StripFrames whole(220, 17, 0, 0);
    EXPECT_EQ(whole.frameCount(), 1);
    EXPECT_EQ(whole.frame(0), (FrameRect{0, 0, 220, 17}));
    EXPECT_EQ(StripFrames(0, 0, 0, 0).frameCount(), 0);
}

TEST(BitmapButtonState, OneFrameAlwaysShowsFrameZero) {
    BitmapButtonState button;
    button.setFrameCount(1);
    button.hover();
    EXPECT_EQ(button.state(), 0);
    button.buttonDown();
    EXPECT_EQ(button.state(), 0);
    button.buttonUp();
    EXPECT_EQ(button.state(), 0);
    button.leave();
    EXPECT_EQ(button.state(), 0);
}

TEST(BitmapButtonState, TwoFramesHaveNoPressedFrame) {
    BitmapButtonState button;
    button.setFrameCount(2);
    button.hover();
    EXPECT_EQ(button.state(), 1);
    button.buttonDown();
    EXPECT_EQ(button.state(), 0);
    button.buttonUp();
    EXPECT_EQ(button.state(), 1);
}

TEST(BitmapButtonState, ALatchedToggleKeepsItsPressedFrame) {
    BitmapButtonState toggle;
    toggle.setFrameCount(3);
    toggle.setToggleMode(true);
    EXPECT_TRUE(toggle.startTracking());
    EXPECT_FALSE(toggle.startTracking());
    toggle.hover();
    EXPECT_FALSE(toggle.buttonDown()); // notice goes out at button-up
    EXPECT_EQ(toggle.state(), 2);
    EXPECT_TRUE(toggle.latched());
    EXPECT_TRUE(toggle.buttonUp());
    EXPECT_EQ(toggle.state(), 2);
    toggle.leave();
    EXPECT_EQ(toggle.state(), 2);
    EXPECT_FALSE(toggle.tracking());

    toggle.buttonDown(); // unlatching shows the normal frame, then hover
    EXPECT_EQ(toggle.state(), 0);
    EXPECT_FALSE(toggle.latched());
    toggle.buttonUp();
    EXPECT_EQ(toggle.state(), 1);

    toggle.setNotifyOnDown(true);
    EXPECT_TRUE(toggle.buttonDown());
    EXPECT_FALSE(toggle.buttonUp());
}

} // namespace
} // namespace q905
