// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/DefaultKeyMap.h"
#include "keys/KeyEnableMask.h"
#include "keys/KeyTable.h"
#include "keys/KeymapFile.h"
#include "keys/ScratchFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace q905 {
namespace {

// Distinct bytes everywhere, reserved ranges and unused records included.
void fillWithPattern(SettingsImage& image, KeyAssignmentTable& table, std::uint8_t seed) {
    for (std::size_t i = 0; i < kSettingsImageSize; ++i)
        image.bytes()[i] = static_cast<std::uint8_t>(i * 7 + seed);
    auto bytes = table.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 13 + seed);
}

class KeymapFileTest : public ::testing::Test {
  protected:
    testing::ScratchFolder folder;
    SettingsImage image;
    std::unique_ptr<KeyAssignments> keys = std::make_unique<KeyAssignments>();
};

TEST_F(KeymapFileTest, RoundTripKeepsEveryByteButTheKeyCodesAndTheRecordsPastTheKeys) {
    fillWithPattern(image, keys->table(), 1);
    ASSERT_TRUE(saveKeymapFile(folder.path(), image, *keys).ok());
    const auto file = testing::readBytes(folder / "keymap.bin");
    ASSERT_EQ(file.size(), 206928u);
    EXPECT_EQ(file, hostStateBytes(image, keys->table()));

    SettingsImage loadedImage;
    KeyAssignments loaded;
    const KeymapLoadResult result = loadKeymapFile(folder.path(), false, loadedImage, loaded);
    EXPECT_EQ(result.status, KeymapLoadStatus::Loaded);
    EXPECT_EQ(result.fileSize, 206928u);
    EXPECT_TRUE(loadedImage == image);
    EXPECT_EQ(loadedImage.at(0x0000), image.at(0x0000));
    EXPECT_EQ(loadedImage.at(0x2753), image.at(0x2753));

    // Records 113..254 are never shown, so a file cannot hide a launch action there.
    KeyAssignmentTable expected = keys->table();
    expected.resetKeyCodes();
    for (std::size_t index = kKeyCount; index < kKeyAssignmentRecordCount; ++index)
        expected[index] = KeyAssignmentRecord{};
    EXPECT_TRUE(loaded.table() == expected);
    EXPECT_EQ(loaded.table()[42].keyCode(), 0x51);
    EXPECT_EQ(loaded.table()[200], KeyAssignmentRecord{});
}

// The marks show from the start, while the keyboard is still being read.
TEST_F(KeymapFileTest, TheStartUpLoadMarksTheKeysTheFileHasAssigned) {
    std::ranges::copy(DefaultKeyMap, image.block(layout::kKeyMapBlock).begin());
    std::ranges::fill(image.block(layout::kKeyEnableMask), 0xFF);
    setKeyEnabled(image, KeyTable[42].matrixPosition(), false);
    ASSERT_TRUE(saveKeymapFile(folder.path(), image, *keys).ok());

    SettingsImage loadedImage;
    KeyAssignments loaded;
    ASSERT_EQ(loadKeymapFile(folder.path(), false, loadedImage, loaded).status,
              KeymapLoadStatus::Loaded);
    for (int key = 0; key < kKeyCount; ++key)
        EXPECT_EQ(loaded.flags()[static_cast<std::size_t>(key)], key == 42 ? 1 : 0) << key;
}

TEST_F(KeymapFileTest, KeepImageTakesOnlyTheTable) {
    SettingsImage fileImage;
    fillWithPattern(fileImage, keys->table(), 3);
    ASSERT_TRUE(saveKeymapFile(folder.path(), fileImage, *keys).ok());
    const KeyAssignmentTable fileTable = keys->table();

    image.at(100) = 0xAB;
    const SettingsImage before = image;
    keys->table().clear();
    ASSERT_EQ(loadKeymapFile(folder.path(), true, image, *keys).status, KeymapLoadStatus::Loaded);
    EXPECT_TRUE(image == before);
    EXPECT_EQ(keys->table()[50].bytes()[7], fileTable[50].bytes()[7]);
}

TEST_F(KeymapFileTest, MissingFileIsCreated) {
    image.at(5) = 9;
    keys->table()[42].setGroup(FunctionGroup::KeyCombination);
    // Start-up begins from an empty table.
    EXPECT_EQ(loadKeymapFile(folder.path(), false, image, *keys).status, KeymapLoadStatus::Created);
    auto file = testing::readBytes(folder / "keymap.bin");
    ASSERT_EQ(file.size(), 206928u);
    EXPECT_EQ(file[5], 9);
    EXPECT_EQ(file[kSettingsImageSize + 1 + 42 * kKeyAssignmentRecordSize], 0);
    KeyAssignmentTable empty;
    empty.resetKeyCodes();
    EXPECT_TRUE(keys->table() == empty);

    // Before the key dialog the table in memory is newer than a vanished file.
    std::filesystem::remove(folder / "keymap.bin");
    keys->table()[42].setGroup(FunctionGroup::KeyCombination);
    EXPECT_EQ(loadKeymapFile(folder.path(), true, image, *keys).status, KeymapLoadStatus::Created);
    EXPECT_EQ(keys->table()[42].group(), 1);
    file = testing::readBytes(folder / "keymap.bin");
    EXPECT_EQ(file[kSettingsImageSize + 42 * kKeyAssignmentRecordSize + 1], 1);
}

TEST_F(KeymapFileTest, ShortFileFillsOnlyWhatItHolds) {
    SettingsImage fileImage;
    fillWithPattern(fileImage, keys->table(), 5);
    auto bytes = hostStateBytes(fileImage, keys->table());
    bytes.resize(kSettingsImageSize + kKeyAssignmentRecordSize + 10);
    testing::writeBytes(folder / "keymap.bin", bytes);

    KeyAssignments loaded;
    loaded.table()[1].setCount(77);
    const auto result = loadKeymapFile(folder.path(), false, image, loaded);
    EXPECT_EQ(result.status, KeymapLoadStatus::LoadedWrongSize);
    EXPECT_EQ(result.fileSize, bytes.size());
    EXPECT_NE(result.message.find(std::to_string(bytes.size()) + " bytes"), std::string::npos);
    EXPECT_TRUE(image == fileImage);
    EXPECT_EQ(loaded.table()[1].bytes()[5], keys->table()[1].bytes()[5]);
    EXPECT_EQ(loaded.table()[1].count(), 77);
    EXPECT_EQ(loaded.table()[1].keyCode(), KeyTable[1].keyCode);
}

TEST_F(KeymapFileTest, UnsavedTableIsNotReplacedByTheOlderFile) {
    ASSERT_TRUE(saveKeymapFile(folder.path(), image, *keys).ok());
    keys->table()[42].setGroup(FunctionGroup::MacroKey);
    // The data folder turns into a file: the save fails and the old file stays behind.
    const auto blocked = folder / "blocked";
    testing::writeBytes(blocked, {0});
    EXPECT_FALSE(saveKeymapFile(blocked, image, *keys).ok());
    EXPECT_TRUE(keys->fileBehind());

    // The dialog reloads from the real folder, whose file is older than the table.
    EXPECT_EQ(loadKeymapFile(folder.path(), true, image, *keys).status,
              KeymapLoadStatus::KeptUnsavedTable);
    EXPECT_EQ(keys->table()[42].group(), 2);

    ASSERT_TRUE(saveKeymapFile(folder.path(), image, *keys).ok());
    EXPECT_FALSE(keys->fileBehind());
}

} // namespace
} // namespace q905
