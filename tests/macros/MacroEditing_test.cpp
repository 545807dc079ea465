// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/WorkingMacro.h"

#include "MacroTestSupport.h"
#include "macros/KeyNameTable.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

using namespace testing;

class MacroEditing : public ::testing::Test {
  protected:
    MacroEditing() { m_macros[0].setName(u"Macro_001"); }

    // Selects a macro with these key events and the matching device events.
    void load(const Bytes& keyBytes) {
        m_macros[0].setKeyEvents(sequence(keyBytes));
        m_macros[0].setDeviceEvents(deviceFor(sequence(keyBytes)));
        m_work.select(0);
    }
    static EventSequence deviceFor(EventSequence keys) {
        for (const MacroEvent& event : keys.events())
            keys[event.offset + 1] = usageOf(event.key);
        return keys;
    }
    // The key events, after checking what must hold after every change: the device events
    // are the key events with usages, and both are stored in the list.
    Bytes keys() {
        EXPECT_EQ(m_work.deviceEvents(), deviceFor(m_work.keyEvents()));
        EXPECT_EQ(m_macros[0].keyEvents(), m_work.keyEvents());
        EXPECT_EQ(m_macros[0].deviceEvents(), m_work.deviceEvents());
        return used(m_work.keyEvents());
    }
    void tap(std::uint8_t code) {
        m_work.onCapturedKey(code, false);
        m_work.onCapturedKey(code, true);
    }

    MacroList m_macros;
    ManualClock m_clock;
    FakeKeyCapture m_capture;
    WorkingMacro m_work{m_macros, m_clock, m_capture};
};

TEST_F(MacroEditing, InsertDelayGivesTheNextEvent50ms) {
    load({0x01, 0x41, 0x81, 0x41});
    EXPECT_EQ(m_work.insertDelay(1), EditResult::Ignored); // the last row
    ASSERT_EQ(m_work.insertDelay(0), EditResult::Changed);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0xB2, 0x41}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "50 ms", "A up"}));
    EXPECT_EQ(m_work.insertDelay(1), EditResult::DelayRowSelected);

    // An extended delay is replaced and loses its two bytes.
    load({0x01, 0x41, 0x01, 0x42, 0xFF, 0x42, 0x01, 0x2C});
    ASSERT_EQ(m_work.insertDelay(1), EditResult::Changed);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x01, 0x42, 0xB2, 0x42}));
}

TEST_F(MacroEditing, DeleteRemovesAnEventOrOnlyItsDelay) {
    const Bytes threeHundred = {0x01, 0x41, 0xFF, 0x41, 0x01, 0x2C};
    load(threeHundred);
    ASSERT_EQ(m_work.deleteRow(1), EditResult::Changed); // the 300 ms row
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x81, 0x41}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "A up"}));
    load(threeHundred);
    m_work.deleteRow(2); // a waiting event goes whole
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41}));
    // The event that becomes the first one stops waiting.
    load(threeHundred);
    m_work.deleteRow(0);
    EXPECT_EQ(keys(), (Bytes{0x81, 0x41}));
}

TEST_F(MacroEditing, MouseButtonsGoAfterTheSelectedEvent) {
    load({0x01, 0x41});
    ASSERT_EQ(m_work.insertMouseKey(0, MouseButton::Left, MouseAction::Click), EditResult::Changed);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x01, 0xF0, 0x81, 0xF0}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "MsLB dn", "MsLB up"}));
    // From a delay row: after the key it belongs to.
    load({0x01, 0x41, 0xB2, 0x41});
    m_work.insertMouseKey(1, MouseButton::Right, MouseAction::Down);
    m_work.insertMouseKey(0, MouseButton::Middle, MouseAction::Up);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x81, 0xF2, 0xB2, 0x41, 0x01, 0xF1}));
}

TEST_F(MacroEditing, DelayEditsAreHeldTo2Through60000) {
    load({0x01, 0x41, 0xB2, 0x41});
    ASSERT_EQ(m_work.editDelay(1, 500), EditResult::Changed);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0xFF, 0x41, 0x01, 0xF4}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "500 ms", "A up"}));
    m_work.editDelay(1, 70000);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0xFF, 0x41, 0xEA, 0x60}));
    m_work.editDelay(1, 0);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x82, 0x41}));
    EXPECT_EQ(m_work.editDelay(0, 100), EditResult::Ignored); // a key row
}

TEST_F(MacroEditing, RecordBeforeAndAfterInsertOneTappedKey) {
    // Before a key whose delay row sits above it: the new key goes above the delay.
    load({0x01, 0x41, 0xB2, 0x42});
    ASSERT_EQ(m_work.recordBefore(2), EditResult::Armed);
    tap(0x43);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x01, 0x43, 0x81, 0x43, 0xB2, 0x42}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "C dn", "C up", "50 ms", "B up"}));
    EXPECT_FALSE(m_capture.installed);
    EXPECT_FALSE(m_work.insertMode());

    load({0x01, 0x41, 0xB2, 0x42, 0x81, 0x41});
    m_work.recordAfter(1); // a delay row: after the key it belongs to
    tap(0x43);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0xB2, 0x42, 0x01, 0x43, 0x81, 0x43, 0x81, 0x41}));
    m_work.recordBefore(0);
    tap(0x44);
    EXPECT_EQ(m_work.rowTexts().front(), "D dn");

    // The release of a key pressed before the insertion was armed (the Return that chose the
    // menu item) is not taken; the insertion waits for a key of its own.
    load({0x01, 0x41, 0x81, 0x41});
    m_work.recordAfter(1);
    EXPECT_EQ(m_work.onCapturedKey(0x0D, true), CapturedKeyResult::Ignored);
    EXPECT_TRUE(m_work.insertMode());
    m_work.onCapturedKey(0x43, false);
    m_work.onCapturedKey(0x44, true); // released, but never pressed here
    EXPECT_TRUE(m_work.insertMode());
    m_work.onCapturedKey(0x43, true);
    EXPECT_FALSE(m_work.insertMode());
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x81, 0x41, 0x01, 0x43, 0x81, 0x43}));
}

TEST_F(MacroEditing, InsertionsThatDoNotFitAreRefusedWhole) {
    Bytes full;
    for (int i = 0; i < 94; ++i)
        full.insert(full.end(), {static_cast<std::uint8_t>(i % 2 ? 0x81 : 0x01), 0x41});
    load(full); // 188 bytes
    EXPECT_EQ(m_work.insertMouseKey(0, MouseButton::Left, MouseAction::Click), EditResult::NoRoom);
    EXPECT_EQ(keys(), full);
    // A tapped key needs room for its press and its release: no insertion is armed.
    EXPECT_EQ(m_work.recordBefore(0), EditResult::NoRoom);
    EXPECT_FALSE(m_capture.installed);
    EXPECT_EQ(m_work.onCapturedKey(0x43, false), CapturedKeyResult::Ignored);
    EXPECT_EQ(keys(), full);
    // Growing a short delay to an extended one needs two more bytes.
    load(full);
    m_work.insertDelay(0);
    ASSERT_EQ(m_work.insertMouseKey(0, MouseButton::Left, MouseAction::Down), EditResult::Changed);
    const Bytes before = keys();
    EXPECT_EQ(m_work.editDelay(2, 500), EditResult::NoRoom);
    EXPECT_EQ(keys(), before);
}

TEST_F(MacroEditing, TheCaptureIsHeldOnlyWhileRecordingOrAnInsertionIsArmed) {
    load({0x01, 0x41, 0x81, 0x41});
    m_work.recordBefore(0);
    m_work.insertDelay(0); // changes bytes: the armed insertion is dropped
    EXPECT_FALSE(m_capture.installed);
    EXPECT_EQ(m_work.onCapturedKey(0x43, false), CapturedKeyResult::Ignored);

    m_work.recordBefore(0);
    m_work.select(0); // another macro: the insertion belonged to the old rows
    EXPECT_FALSE(m_capture.installed);
    m_work.recordBefore(0);
    m_work.stopCapture(); // an in-place edit begins
    EXPECT_FALSE(m_capture.installed);
    m_work.startStopRecording();
    EXPECT_EQ(m_work.onCapturedKey(0x43, false), CapturedKeyResult::Recorded); // not inserted

    // An insertion made while recording leaves the recording running.
    m_work.onCapturedKey(0x43, true);
    m_work.recordBefore(0);
    tap(0x44);
    EXPECT_TRUE(m_capture.installed);
    EXPECT_EQ(m_work.onCapturedKey(0x45, false), CapturedKeyResult::Recorded);
    EXPECT_EQ(m_work.rowTexts(), (Rows{"D dn", "D up", "C dn", "C up", "E dn"}));

    m_capture.installSucceeds = false;
    m_work.stopCapture();
    EXPECT_EQ(m_work.recordBefore(0), EditResult::CaptureUnavailable);
    EXPECT_FALSE(m_work.insertMode());
}

TEST_F(MacroEditing, AForeignRecordIsTidiedBeforeItIsEdited) {
    // A first event that waits, then events behind a key the keyboard has no usage for.
    m_macros[0].setKeyEvents(sequence({0x32, 0x41, 0x81, 0x41, 0x01, 0xE2, 0x81, 0x42}));
    m_macros[0].setDeviceEvents(sequence({0x32, 0x04, 0x81, 0x04, 0x01, 0x00, 0x81, 0x05}));
    const MacroList before = m_macros;
    m_work.select(0);
    EXPECT_EQ(m_macros, before); // selecting stores nothing
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "A up"}));
    m_work.insertMouseKey(1, MouseButton::Left, MouseAction::Down);
    EXPECT_EQ(keys(), (Bytes{0x01, 0x41, 0x81, 0x41, 0x01, 0xF0}));
}

} // namespace
} // namespace q905
