// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/KeyNameTable.h"

#include "macros/EventSequence.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

const KeyNameTable& table() {
    return KeyNameTable::instance();
}

TEST(KeyNameTable, GeneratedRangesCarryTheirUsages) {
    EXPECT_EQ(usageOf(0x41), 0x04);
    EXPECT_EQ(keyRowText(0x41, false), "A dn");
    EXPECT_EQ(usageOf(0x5A), 0x1D);
    EXPECT_EQ(nameOf(0x5A), "Z");

    EXPECT_EQ(usageOf(0x31), 0x1E);
    EXPECT_EQ(keyRowText(0x31, false), "1 dn");
    EXPECT_EQ(usageOf(0x39), 0x26);
    // '0' follows '9' in usage order.
    EXPECT_EQ(usageOf(0x30), 0x27);
    EXPECT_EQ(keyRowText(0x30, false), "0 dn");

    EXPECT_EQ(usageOf(0x70), 0x3A);
    EXPECT_EQ(nameOf(0x70), "F1");
    EXPECT_EQ(usageOf(0x7B), 0x45);
    EXPECT_EQ(nameOf(0x7B), "F12");
}

TEST(KeyNameTable, MouseAndMediaCodes) {
    EXPECT_EQ(usageOf(0xF1), 0xF1);
    EXPECT_EQ(keyRowText(0xF1, true), "MsRB up");
    EXPECT_EQ(keyRowText(0xF0, false), "MsLB dn");
    EXPECT_EQ(keyRowText(0xF2, false), "MsMB dn");
    EXPECT_EQ(usageOf(0xF3), 0xF3);
    EXPECT_EQ(nameOf(0xF4), "");
    EXPECT_EQ(nameOf(0xF7), "Mouse pointer Down");

    EXPECT_EQ(usageOf(0xAF), 0xE9);
    EXPECT_EQ(usageOf(0xAE), 0xEA);
    EXPECT_EQ(usageOf(0xB3), 0xCD);
    EXPECT_EQ(nameOf(0xB3), "Play/Pause");
    EXPECT_EQ(usageOf(0xB5), 0x83);
}

TEST(KeyNameTable, SharedNamesKeepTheirOwnUsages) {
    EXPECT_EQ(nameOf(0x0D), nameOf(0x6C));
    EXPECT_EQ(usageOf(0x0D), 0x28);
    EXPECT_EQ(usageOf(0x6C), 0x58);
    EXPECT_EQ(nameOf(0xBD), nameOf(0x6D));
    EXPECT_NE(usageOf(0xBD), usageOf(0x6D));
    EXPECT_EQ(nameOf(0xDC), "\\");
    EXPECT_EQ(usageOf(0xDC), 0x32);
    EXPECT_EQ(usageOf(0xDE), 0x34);
}

TEST(KeyNameTable, CodesWithoutEntryHaveNoUsageAndNoName) {
    EXPECT_EQ(usageOf(0xE2), 0);
    EXPECT_EQ(keyRowText(0xE2, false), " dn");
    EXPECT_EQ(usageOf(0x00), 0);
    EXPECT_EQ(usageOf(0xFF), 0);
    EXPECT_EQ(usageOf(0xE9), 0);
}

TEST(KeyNameTable, FilledEntriesAndNamesWithoutBlanksAtTheirEnds) {
    int filled = 0;
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        const KeyNameEntry& entry = table().entry(static_cast<std::uint8_t>(code));
        ASSERT_EQ(entry.code, code);
        if (entry.usage != 0)
            ++filled;
        else
            EXPECT_TRUE(entry.name.empty()) << code;
        if (!entry.name.empty()) {
            ++named;
            EXPECT_NE(entry.name.front(), ' ') << code;
            EXPECT_NE(entry.name.back(), ' ') << code;
        }
    }
    EXPECT_EQ(filled, 118);
    EXPECT_EQ(named, 116);
}

} // namespace
} // namespace q905
