// SPDX-License-Identifier: GPL-3.0-or-later
#include "firmware/FirmwareVersion.h"
#include "firmware/Updater.h"
#include "keys/ScratchFolder.h"
#include "support/RecordingLauncher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace q905 {
namespace {

using testing::RecordingLauncher;

std::vector<std::uint8_t> versionFile(std::uint8_t major, std::uint8_t minor) {
    std::vector<std::uint8_t> bytes{'Q', '9', '0', '5', 'V', major, '.', minor, 0, 0, 0, 0};
    return bytes;
}

TEST(FirmwareVersion, VersionFileBytesFiveAndSeven) {
    EXPECT_EQ(parseVersionFile(versionFile('1', '2')), (FirmwareVersion{1, 2}));
    EXPECT_EQ(parseVersionFile(versionFile('A', '0')), (FirmwareVersion{0x11, 0}));
    EXPECT_EQ(parseVersionFile(versionFile(0x20, 0x2F)), (FirmwareVersion{0xF0, 0xFF}));
    auto tooShort = versionFile('3', '4');
    tooShort.resize(7);
    EXPECT_EQ(parseVersionFile(tooShort), (FirmwareVersion{0, 0}));

    testing::ScratchFolder folder;
    EXPECT_EQ(readVersionFile(folder.path()), (FirmwareVersion{0, 0}));
    testing::writeBytes(folder / "VER.bin", versionFile('2', '7'));
    EXPECT_EQ(readVersionFile(folder.path()), (FirmwareVersion{2, 7}));
}

TEST(FirmwareVersion, QuestionOnlyForAnOlderKeyboard) {
    EXPECT_TRUE(checkFirmwareVersion(FirmwareVersion{1, 2}, FirmwareVersion{1, 1}));
    EXPECT_FALSE(checkFirmwareVersion(FirmwareVersion{1, 2}, FirmwareVersion{1, 2}));
    EXPECT_FALSE(checkFirmwareVersion(FirmwareVersion{1, 2}, FirmwareVersion{2, 0}));
    EXPECT_TRUE(checkFirmwareVersion(FirmwareVersion{2, 0}, FirmwareVersion{1, 9}));
    EXPECT_FALSE(checkFirmwareVersion(FirmwareVersion{0, 0}, FirmwareVersion{0, 0}));
    EXPECT_TRUE(checkFirmwareVersion(FirmwareVersion{1, 2}, DeviceVersion{{1, 1, 0, 0}}));
}

TEST(FirmwareUpdater, StartedFromTheAssetFolderWithoutWorkingFolder) {
    RecordingLauncher launcher;
    EXPECT_TRUE(startUpdater(launcher, "/opt/q905"));
    launcher.outcome = LaunchOutcome::Failed;
    EXPECT_FALSE(startUpdater(launcher, "/opt/q905"));
    EXPECT_EQ(launcher.calls,
              (std::vector<std::string>(
                  2, "start /opt/q905/Korvane Mirex Keyboard Q905 UK_Update.exe in ")));
}

} // namespace
} // namespace q905
