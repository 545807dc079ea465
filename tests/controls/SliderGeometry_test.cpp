// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SliderGeometry.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

TEST(SliderGeometry, TheThumbRunsFromTheLeftEndToTheRightEnd) {
    for (int maximum : {3, 4, 9, 50}) {
        EXPECT_EQ(thumbOffset(thumbRect(0, 0, maximum)).x, 0) << maximum;
        EXPECT_EQ(thumbOffset(thumbRect(maximum, 0, maximum)).x, kTrackWidth - kThumbWidth)
            << maximum;
    }
    EXPECT_EQ(thumbOffset(thumbRect(-3, 0, 9)).x, 0);
    EXPECT_EQ(thumbOffset(thumbRect(12, 0, 9)).x, kTrackWidth - kThumbWidth);
    EXPECT_EQ(thumbOffset(thumbRect(2, 0, 0)).x, 0);
}

TEST(SliderGeometry, AClickRoundsToTheNearerStep) {
    const SliderRect channel{10, 0, 210, 4};                    // 200 pixels
    EXPECT_EQ(positionForClick(10 + 75, channel, 0, 0, 3), 1);  // 1.125
    EXPECT_EQ(positionForClick(10 + 90, channel, 0, 0, 3), 1);  // 1.35
    EXPECT_EQ(positionForClick(10 + 100, channel, 0, 0, 3), 2); // 1.5, halfway
    EXPECT_LE(positionForClick(2, channel, 0, 0, 3), 0);        // left of the channel
    EXPECT_EQ(positionForClick(10 + 75, {10, 0, 10, 4}, 0, 0, 3), 0);
}

TEST(SliderGeometry, AClickOnTheDrawnThumbKeepsItsPosition) {
    const SliderRect channel = channelRect();
    for (int maximum : {3, 4, 9, 50}) {
        for (int position = 0; position <= maximum; ++position) {
            const int centre = thumbOffset(thumbRect(position, 0, maximum)).x + kThumbWidth / 2;
            EXPECT_EQ(positionForClick(centre, channel, 0, 0, maximum), position)
                << position << " of " << maximum;
        }
    }
}

} // namespace
} // namespace q905
