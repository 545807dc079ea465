// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/MacroModel.h"

#include "MacroTestSupport.h"
#include "device/SettingsImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace q905 {
namespace {

using namespace testing;

MacroRecord named(std::u16string name, const Bytes& device, std::uint16_t loopCount = 1) {
    MacroRecord record;
    record.setName(name);
    record.setLoopCount(loopCount);
    record.setDeviceEvents(sequence(device));
    return record;
}

TEST(MacroModel, RecordFieldsSitAtTheirFileOffsets) {
    MacroList macros;
    macros[0].bytes()[893] = 0x5A; // reserved: kept as loaded
    ASSERT_EQ(commitMacro(macros, 0, u"Ab", true, "773", true, sequence({0x01, 0x04}),
                          sequence({0x01, 0x41})),
              CommitResult::Stored);
    const auto& b = macros[0].bytes();
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 6), (Bytes{'A', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(Bytes(b.begin() + 510, b.begin() + 513), (Bytes{0x05, 0x03, 0x01}));
    EXPECT_EQ(Bytes(b.begin() + 513, b.begin() + 516), (Bytes{0x01, 0x04, 0x00}));
    EXPECT_EQ(Bytes(b.begin() + 703, b.begin() + 706), (Bytes{0x01, 0x41, 0x00}));
    EXPECT_EQ(b[893], 0x5A);

    // Loop off stores 1 whatever the box says; the text is a decimal cut to 16 bits.
    ASSERT_EQ(commitMacro(macros, 0, u"Ab", false, "5", false, {}, {}), CommitResult::Stored);
    EXPECT_EQ(macros[0].loopCount(), 1);
    EXPECT_FALSE(macros[0].hasDelay());
    EXPECT_EQ(loopCountFromText("70000"), 70000 - 65536);
    EXPECT_EQ(loopCountFromText("12ab"), 12);
}

TEST(MacroModel, NamesAreRefusedWhenEmptyAndCutAt254) {
    MacroList macros;
    macros[0] = named(u"Keep", {0x01, 0x04});
    const MacroList before = macros;
    EXPECT_EQ(commitMacro(macros, 0, u"", false, "1", false, {}, {}), CommitResult::EmptyName);
    // What is stored ends at the first NUL, so this is as empty as "".
    EXPECT_EQ(commitMacro(macros, 0, std::u16string(u"\0x", 2), false, "1", false, {}, {}),
              CommitResult::EmptyName);
    EXPECT_EQ(commitMacro(macros, 190, u"A", false, "1", false, {}, {}),
              CommitResult::NoSuchRecord);
    EXPECT_EQ(macros, before);

    EXPECT_EQ(macros[0].setName(std::u16string(300, u'x')), kMaxMacroNameLength);
    EXPECT_EQ(macros[0].name().size(), kMaxMacroNameLength);
    // A character outside the BMP at the cut is dropped whole, not halved.
    EXPECT_EQ(macros[0].setName(std::u16string(253, u'x') + u"\U0001F600"), 253u);
}

TEST(MacroModel, FillMacroSlotsStopsAtTheFirstFreeRecordAndAfter32) {
    MacroList macros;
    macros[0] = named(u"A", {0x01, 0x04});
    macros[1] = named(u"B", {0x01, 0x05, 0x81, 0x05}, 5);
    macros[3] = named(u"After a gap", {0x01, 0x09});
    SettingsImage image;
    image.bytes().fill(0xCC);
    fillMacroSlots(macros, image);
    const auto slot1 = image.block(layout::macroSlot(1));
    EXPECT_EQ(slot1[0], 0x00); // loop count high byte first in the slot
    EXPECT_EQ(slot1[1], 0x05);
    EXPECT_TRUE(std::ranges::equal(slot1.subspan(2), macros[1].deviceEvents().bytes()));
    EXPECT_EQ(image.block(layout::macroSlot(0))[3], 0x04);
    for (std::size_t slot = 2; slot < layout::kMacroSlotCount; ++slot)
        EXPECT_EQ(std::ranges::count(image.block(layout::macroSlot(slot)), 0xCC), 192) << slot;

    for (auto& record : macros)
        record = named(u"M", {0x01, 0x04}, 2);
    fillMacroSlots(macros, image);
    EXPECT_EQ(image.block(layout::macroSlot(31))[1], 0x02);
    EXPECT_EQ(image.at(layout::kMacroSlotBlock.end()), 0xCC);
}

TEST(MacroModel, NewMacroNameTakesTheSmallestFreeNumber) {
    EXPECT_EQ(newMacroName({}), u"Macro_001");
    const std::u16string names[] = {u"Macro_001", u"Macro_003", u"macro_002"};
    EXPECT_EQ(newMacroName(names), u"Macro_002");
    std::vector<std::u16string> many;
    for (int n = 1; n <= 99; ++n)
        many.push_back(newMacroName(many));
    EXPECT_EQ(many[9], u"Macro_010");
    EXPECT_EQ(newMacroName(many), u"Macro_100");
}

TEST(MacroModel, EventAtRowCountsTwoRowsForAnEventThatWaits) {
    const EventSequence keys = sequence({0x01, 0x41, 0xB2, 0x41}); // A dn, 50 ms, A up
    EXPECT_EQ(eventAtRow(keys, 1), 2u);
    EXPECT_EQ(eventAtRow(keys, 3), 4u); // the end, where a new event goes
    EXPECT_EQ(eventAtRow(keys, 2), 0u); // the key row of a waiting event starts nothing
    EXPECT_EQ(eventAtRow(keys, 4), 0u);

    // Damaged bytes are walked only inside the 190: 47 extended events, and a 48th cut off.
    EventSequence allSet;
    allSet.bytes().fill(0xFF);
    EXPECT_EQ(eventAtRow(allSet, 94), 188u);
    EXPECT_EQ(eventAtRow(allSet, 96), 0u);
}

TEST(MacroModel, ListedRowsAgreeWithEventAtRow) {
    const Bytes cases[] = {
        {0x01, 0x41, 0xFF, 0x41, 0x01, 0x2C, 0x01, 0xF0},
        {0x01, 0x41, 0x00, 0x41, 0x80, 0x41}, // d = 0, as other installations record 0 ms
        {0x32, 0x41, 0x81, 0x41},             // a first press that waits
    };
    for (const Bytes& bytes : cases) {
        const auto rows = eventRows(sequence(bytes), sequence(bytes));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r == 0 || rows[r - 1].offset != rows[r].offset) {
                EXPECT_EQ(eventAtRow(sequence(bytes), static_cast<int>(r)), rows[r].offset);
            }
        }
        EXPECT_EQ(eventAtRow(sequence(bytes), static_cast<int>(rows.size())), bytes.size());
    }
    MacroRecord record;
    record.setDeviceEvents(sequence({0x01, 0x04, 0xFF, 0x04, 0x01, 0x2C, 0x80, 0x04}));
    record.setKeyEvents(sequence({0x01, 0x41, 0xFF, 0x41, 0x01, 0x2C, 0x80, 0x41}));
    EXPECT_EQ(listMacroEvents(record), (Rows{"A dn", "300 ms", "A up", "A up"}));
}

} // namespace
} // namespace q905
