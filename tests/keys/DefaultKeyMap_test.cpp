// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/DefaultKeyMap.h"

#include "keys/KeyTable.h"
#include "macros/KeyNameTable.h"

#include <gtest/gtest.h>

#include <set>

namespace q905 {
namespace {

using Entry = std::array<std::uint8_t, 4>;

Entry entryAt(int position) {
    return {DefaultKeyMap[position * 4], DefaultKeyMap[position * 4 + 1],
            DefaultKeyMap[position * 4 + 2], DefaultKeyMap[position * 4 + 3]};
}

Entry entryOfKey(int keyIndex) {
    return entryAt(KeyTable[keyIndex].matrixPosition());
}

TEST(DefaultKeyMap, FnAndKeysWithoutUsage) {
    EXPECT_EQ(entryOfKey(kFnKeyIndex), (Entry{2, 0, 0, 0}));
    // App shares the Fn key's code but is an ordinary key.
    EXPECT_EQ(entryOfKey(101), (Entry{0, 0, 0x65, 0}));
    EXPECT_EQ(entryOfKey(16), (Entry{0, 0, 0x64, 0}));
    for (int n = 0; n < 5; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(entryOfKey(108 + n), (Entry{0, 0, 0xE1, static_cast<std::uint8_t>(0x04 + n)}));
    }
}

TEST(DefaultKeyMap, ConsumerAndExtraPositions) {
    EXPECT_EQ(entryOfKey(17), (Entry{3, 0, 0x83, 0x01}));
    EXPECT_EQ(entryOfKey(18), (Entry{3, 0, 0xCD, 0}));
    EXPECT_EQ(entryOfKey(19), (Entry{3, 0, 0xE9, 0}));
    EXPECT_EQ(entryAt(107), (Entry{3, 0, 0xEA, 0}));
    EXPECT_EQ(entryAt(18), (Entry{0, 0, 0x91, 0}));
    EXPECT_EQ(entryAt(48), (Entry{0, 0, 0x90, 0}));
    EXPECT_EQ(entryAt(126), (Entry{0, 0xE0, 0, 0}));
    EXPECT_EQ(entryAt(127), (Entry{0, 0xE1, 0, 0}));
}

TEST(DefaultKeyMap, OrdinaryKeysSendTheirOwnUsageAndUnusedPositionsAreZero) {
    EXPECT_EQ(entryOfKey(63), (Entry{0, 0, 0x04, 0})); // A
    EXPECT_EQ(entryOfKey(kKeypadEnterKeyIndex), (Entry{0, 0, 0x58, 0}));

    const std::set<int> exceptions = {16, 17, 18, 19, kFnKeyIndex, 108, 109, 110, 111, 112};
    std::set<int> used = {18, 48, 107, 126, 127};
    for (int index = 0; index < kKeyCount; ++index) {
        used.insert(KeyTable[index].matrixPosition());
        if (exceptions.count(index))
            continue;
        const std::uint8_t usage = usageOf(KeyTable[index].keyCode);
        EXPECT_NE(usage, 0) << index;
        EXPECT_EQ(entryOfKey(index), (Entry{0, 0, usage, 0})) << index;
    }
    for (int position = 0; position < 128; ++position) {
        if (!used.count(position)) {
            EXPECT_EQ(entryAt(position), (Entry{})) << position;
        }
    }
}

} // namespace
} // namespace q905
