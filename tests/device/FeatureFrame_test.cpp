// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Reports.h"
#include "device/Settings.h"
#include "device/SettingsImage.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

TEST(FeatureFrame, ChecksumWrapsAndIndexLowersIt) {
    EXPECT_EQ(makeFeatureFrame(0x81), (FeatureFrame{0, 0x81, 0, 0, 0, 0, 0, 0, 0x7E}));
    EXPECT_EQ(makeFeatureFrame(0x01, {.p1 = 2}), (FeatureFrame{0, 0x01, 2, 0, 0, 0, 0, 0, 0xFC}));
    EXPECT_EQ(makeFeatureFrame(0x13, {.p1 = 0xFF})[8], 0xED);
    const FeatureFrame slot5 = makeFeatureFrame(0x91, {.p2 = 5});
    EXPECT_EQ(slot5[3], 5);
    EXPECT_EQ(slot5[8], 0x69);
}

TEST(SettingsImage, FoldWinKeyLockTouchesOnlyTheWindowsKeyBits) {
    SettingsImage image;
    image.at(layout::kWinKeyMaskByte) = 0xFF;
    image.at(layout::kWinKeyLock.offset) = 1;
    image.foldWinKeyLock();
    EXPECT_EQ(image.at(layout::kWinKeyMaskByte), 0x3E);

    image.at(layout::kWinKeyLock.offset) = 0;
    image.foldWinKeyLock();
    EXPECT_EQ(image.at(layout::kWinKeyMaskByte), 0x3F);
    EXPECT_EQ(image.at(layout::kKeyEnableMask.offset), 0) << "only the second mask byte moves";
}

TEST(Settings, SnapshotAndRevertCopyTheWholeImage) {
    Settings settings;
    settings.deviceSettings().at(0) = 0x11; // reserved head
    settings.deviceSettings().at(kSettingsImageSize - 1) = 0x22;
    settings.snapshot();
    EXPECT_EQ(settings.appliedSettings(), settings.deviceSettings());

    settings.deviceSettings().at(layout::kBrightness) = 9;
    settings.revert();
    EXPECT_EQ(settings.deviceSettings().brightness(), 0);
    EXPECT_EQ(settings.deviceSettings().at(kSettingsImageSize - 1), 0x22);
}

} // namespace
} // namespace q905
