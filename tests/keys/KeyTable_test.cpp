// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyTable.h"
#include "macros/KeyNameTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace q905 {
namespace {

TEST(KeyTable, MatrixOffsetsAreDistinctRecordsInsideTheBlock) {
    std::set<int> offsets;
    for (int index = 0; index < kKeyCount; ++index) {
        const KeyEntry& key = KeyTable[index];
        SCOPED_TRACE(index);
        EXPECT_EQ(key.matrixOffset % 4, 0);
        EXPECT_LT(key.matrixOffset, 512);
        EXPECT_TRUE(offsets.insert(key.matrixOffset).second);
    }
}

TEST(KeyTable, OnlyTheThreeMediaSlotsAreUnplaced) {
    const std::uint16_t offsets[] = {452, 476, 500};
    const std::uint8_t codes[] = {0xB5, 0xB3, 0xAF};
    for (int index = 0; index < kKeyCount; ++index) {
        const KeyEntry& key = KeyTable[index];
        SCOPED_TRACE(index);
        EXPECT_EQ(isUnplacedKey(index), !key.isPlaced());
        if (isUnplacedKey(index)) {
            EXPECT_EQ(key.left | key.top | key.right | key.bottom | key.labelX | key.labelY, 0);
            EXPECT_TRUE(key.label.empty());
            EXPECT_EQ(key.matrixOffset, offsets[index - 17]);
            EXPECT_EQ(key.keyCode, codes[index - 17]);
        } else {
            EXPECT_FALSE(key.label.empty());
            EXPECT_GT(key.bottom, key.top);
        }
    }
}

TEST(KeyTable, SpotRowsAndSpecialIndices) {
    const KeyEntry& esc = KeyTable[0];
    EXPECT_EQ(esc.label, "Esc");
    EXPECT_EQ((std::array{esc.left, esc.top, esc.right, esc.bottom}),
              (std::array{62, 103, 85, 126}));
    EXPECT_EQ(esc.labelX, 73);
    EXPECT_EQ(esc.matrixOffset, 20);
    EXPECT_EQ(esc.keyCode, 0x1B);

    const KeyEntry& enter = KeyTable[kMainEnterKeyIndex];
    EXPECT_EQ((std::array{enter.left, enter.top, enter.right, enter.bottom}),
              (std::array{385, 157, 420, 204}));
    EXPECT_EQ(enter.keyCode, 0x0D);
    EXPECT_EQ(KeyTable[kKeypadEnterKeyIndex].keyCode, 0x6C);
    EXPECT_EQ(KeyTable[kKeypadEnterKeyIndex].bottom, 252);

    EXPECT_EQ(KeyTable[kFnKeyIndex].label, "Fn");
    EXPECT_EQ(KeyTable[kFnKeyIndex].matrixPosition(), 60);
    EXPECT_EQ(KeyTable[16].label, "|");
    EXPECT_EQ(KeyTable[74].label, "\\");
    EXPECT_EQ(KeyTable[74].matrixOffset, 320);
    EXPECT_EQ(KeyTable[112].label, "S5");
    EXPECT_EQ(KeyTable[112].labelY, 239);
    EXPECT_EQ(KeyTable[112].keyCode, 0xED);
}

// A mistyped key code shows up as a duplicate or as a code without a usage.
TEST(KeyTable, KeyCodesAreDistinctAndKnownExceptForTheDocumentedKeys) {
    std::map<int, int> firstIndexOfCode;
    for (int index = 0; index < kKeyCount; ++index) {
        const std::uint8_t code = KeyTable[index].keyCode;
        SCOPED_TRACE(index);
        auto [it, inserted] = firstIndexOfCode.emplace(code, index);
        if (!inserted) {
            EXPECT_EQ((std::pair{it->second, index}), (std::pair{kFnKeyIndex, 101}));
        }
        const bool hasNoUsage = index == 16 || index >= 108;
        EXPECT_EQ(usageOf(code) == 0, hasNoUsage);
    }
}

TEST(KeyTable, MatrixPositionLookupFindsEachKeyAndNothingElse) {
    for (int index = 0; index < kKeyCount; ++index)
        EXPECT_EQ(keyIndexAtMatrixPosition(KeyTable[index].matrixPosition()), index);
    for (int position : {-1, 18, 48, 107, 126, 127, 128, 1000})
        EXPECT_EQ(keyIndexAtMatrixPosition(position), std::nullopt) << position;
}

} // namespace
} // namespace q905
