// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/WorkingMacro.h"

#include "MacroTestSupport.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

using namespace std::chrono_literals;
using namespace testing;

class MacroRecording : public ::testing::Test {
  protected:
    MacroRecording() {
        m_macros[0].setName(u"Macro_001");
        m_macros[1].setName(u"Macro_002");
        m_work.select(0);
    }
    CapturedKeyResult press(std::uint8_t code) { return m_work.onCapturedKey(code, false); }
    CapturedKeyResult release(std::uint8_t code) { return m_work.onCapturedKey(code, true); }
    // A fresh recording of key A tapped with the given gap; the device bytes it gave.
    Bytes recordTap(std::chrono::microseconds gap) {
        if (m_work.recording())
            m_work.startStopRecording();
        m_work.startStopRecording();
        press(0x41);
        m_clock.advance(gap);
        release(0x41);
        return used(m_work.deviceEvents());
    }

    MacroList m_macros;
    ManualClock m_clock;
    FakeKeyCapture m_capture;
    WorkingMacro m_work{m_macros, m_clock, m_capture};
};

TEST_F(MacroRecording, WithoutDelaysEveryEventWaitsNothing) {
    EXPECT_EQ(recordTap(80ms), (Bytes{0x01, 0x04, 0x81, 0x04}));
    EXPECT_EQ(m_capture.lastMode, KeyCaptureMode::Macro);
    EXPECT_EQ(used(m_work.keyEvents()), (Bytes{0x01, 0x41, 0x81, 0x41}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "A up"}));
    // Stored as it happens, under the macro's own name.
    EXPECT_EQ(m_macros[0].deviceEvents(), m_work.deviceEvents());
    EXPECT_EQ(m_macros[0].keyEvents(), m_work.keyEvents());
    EXPECT_EQ(m_macros[0].name(), u"Macro_001");

    EXPECT_EQ(m_work.startStopRecording(), RecordingResult::Stopped);
    EXPECT_FALSE(m_capture.installed);
    EXPECT_EQ(press(0x42), CapturedKeyResult::Ignored);
}

// Esc tapped is recorded like any key; Esc held for a second ends the recording, whether the
// hold shows in repeating presses, in repeating releases and presses, or only in the release,
// and leaves no trace of itself.
TEST_F(MacroRecording, EscHeldASecondStopsTheRecordingWithoutBeingRecorded) {
    m_work.setHasDelay(true);
    m_work.startStopRecording();
    press(0x1B);
    m_clock.advance(999ms);
    EXPECT_EQ(press(0x1B), CapturedKeyResult::Dropped) << "a repeat before the second is up";
    EXPECT_EQ(release(0x1B), CapturedKeyResult::Recorded);
    press(0x41);
    m_clock.advance(20ms);
    release(0x41);
    press(0x1B);
    m_clock.advance(400ms);
    EXPECT_EQ(press(0x1B), CapturedKeyResult::Dropped);
    m_clock.advance(600ms);
    EXPECT_EQ(press(0x1B), CapturedKeyResult::RecordingStopped);
    EXPECT_FALSE(m_work.recording());
    EXPECT_FALSE(m_capture.installed);
    EXPECT_EQ(release(0x1B), CapturedKeyResult::Ignored);
    const Bytes tapped{0x01, 0x1B, 0xFF, 0x1B, 0x03, 0xE7, 0x01, 0x41, 0x94, 0x41};
    EXPECT_EQ(used(m_work.keyEvents()), tapped);
    EXPECT_EQ(m_macros[0].keyEvents(), m_work.keyEvents());

    // Without key repeat only the release tells; a held Esc as the first key leaves nothing.
    m_work.startStopRecording();
    press(0x1B);
    m_clock.advance(1s);
    EXPECT_EQ(release(0x1B), CapturedKeyResult::RecordingStopped);
    EXPECT_TRUE(m_work.rows().empty());
    EXPECT_TRUE(m_macros[0].keyEvents().empty());

    // Timed from the first press: a busy window that handles the first repeat late stops at
    // once, and a key released during the hold does not start it again.
    m_work.startStopRecording();
    press(0x41);
    press(0x1B);
    m_clock.advance(300ms);
    release(0x41);
    m_clock.advance(700ms);
    EXPECT_EQ(m_work.onKeyRepeat(0x41), CapturedKeyResult::Ignored);
    EXPECT_EQ(m_work.onKeyRepeat(0x1B), CapturedKeyResult::RecordingStopped);
    EXPECT_EQ(used(m_work.keyEvents()), (Bytes{0x01, 0x41, 0xFF, 0x41, 0x01, 0x2C}));
    EXPECT_EQ(m_macros[0].keyEvents(), m_work.keyEvents());

    // A release reported late carries its own time, so its gap is the one the user made.
    m_work.startStopRecording();
    press(0x41);
    m_clock.advance(120ms);
    EXPECT_EQ(m_work.onCapturedKey(0x41, true, 40ms), CapturedKeyResult::Recorded);
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "80 ms", "A up"}));
}

TEST_F(MacroRecording, MeasuredGapsAreEncodedAsDelays) {
    m_work.setHasDelay(true);
    EXPECT_EQ(recordTap(50ms), (Bytes{0x01, 0x04, 0xB2, 0x04}));
    EXPECT_EQ(used(m_work.keyEvents()), (Bytes{0x01, 0x41, 0xB2, 0x41}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "50 ms", "A up"}));
    EXPECT_TRUE(m_macros[0].hasDelay());
    EXPECT_EQ(recordTap(300ms), (Bytes{0x01, 0x04, 0xFF, 0x04, 0x01, 0x2C}));
    EXPECT_EQ(m_work.rowTexts(), (Rows{"A dn", "300 ms", "A up"}));
    EXPECT_EQ(recordTap(1000900us), (Bytes{0x01, 0x04, 0xFF, 0x04, 0x03, 0xE8}));
    EXPECT_EQ(recordTap(61s), (Bytes{0x01, 0x04, 0xFF, 0x04, 0xEA, 0x60}));
    // Under 2 ms there is no delay: no d = 0 event, no row eventAtRow would not count.
    for (auto gap : {0us, 900us, 1000us}) {
        EXPECT_EQ(recordTap(gap), (Bytes{0x01, 0x04, 0x81, 0x04})) << gap.count();
        EXPECT_EQ(m_work.rows().size(), 2u);
    }
}

TEST_F(MacroRecording, RepeatsAreDroppedWithoutMovingTheTimeMark) {
    m_work.setHasDelay(true);
    m_work.startStopRecording();
    press(0x41);
    m_clock.advance(10ms);
    release(0x41);
    m_clock.advance(100ms);
    EXPECT_EQ(press(0x42), CapturedKeyResult::Recorded);
    for (int i = 0; i < 2; ++i) {
        m_clock.advance(100ms);
        EXPECT_EQ(press(0x42), CapturedKeyResult::Dropped); // held: the keyboard repeats
    }
    m_clock.advance(100ms);
    EXPECT_EQ(release(0x42), CapturedKeyResult::Recorded); // 300 ms after the first press
    // A doubled release is dropped but does move the mark.
    m_clock.advance(40ms);
    EXPECT_EQ(release(0x42), CapturedKeyResult::Dropped);
    m_clock.advance(20ms);
    press(0x41);
    EXPECT_EQ(used(m_work.deviceEvents()),
              (Bytes{0x01, 0x04, 0x8A, 0x04, 0x64, 0x05, 0xFF, 0x05, 0x01, 0x2C, 0x14, 0x04}));
    // Keys the keyboard has no usage for are skipped.
    EXPECT_EQ(press(0xE2), CapturedKeyResult::Ignored);
    EXPECT_EQ(m_work.rows().size(), 9u);
}

TEST_F(MacroRecording, StopsTakingPressesAt184AndEverythingAt188) {
    m_work.startStopRecording();
    for (int i = 0; i < 46; ++i) {
        press(0x41);
        release(0x41);
    }
    ASSERT_EQ(m_work.writePos(), 184u);
    EXPECT_EQ(press(0x42), CapturedKeyResult::Dropped);
    EXPECT_EQ(release(0x42), CapturedKeyResult::Recorded);
    EXPECT_EQ(release(0x43), CapturedKeyResult::Recorded);
    EXPECT_EQ(release(0x44), CapturedKeyResult::Dropped);
    EXPECT_EQ(m_work.writePos(), 188u);

    // An extended release still fits at 186.
    m_work.setHasDelay(true);
    m_work.deleteRow(93);
    m_clock.advance(300ms);
    EXPECT_EQ(release(0x44), CapturedKeyResult::Recorded);
    EXPECT_EQ(m_work.writePos(), kEventSequenceSize);
}

TEST_F(MacroRecording, StartingNeedsAMacroAndReplacesItsEvents) {
    m_work.select(std::nullopt);
    EXPECT_EQ(m_work.startStopRecording(), RecordingResult::NoMacroSelected);
    EXPECT_EQ(m_capture.installs, 0);

    m_macros[0].setDeviceEvents(sequence({0x01, 0x04, 0x81, 0x04}));
    m_macros[0].setLoopCount(7);
    m_work.select(0);
    m_capture.installSucceeds = false;
    EXPECT_EQ(m_work.startStopRecording(), RecordingResult::Started);
    EXPECT_TRUE(m_macros[0].deviceEvents().empty());
    EXPECT_EQ(m_macros[0].loopCount(), 7);
    EXPECT_EQ(press(0x41), CapturedKeyResult::Ignored); // no capture, no keys
}

TEST_F(MacroRecording, SwitchingMacrosContinuesIntoTheNextOne) {
    m_macros[1].setDeviceEvents(sequence({0x01, 0x05, 0x81, 0x05}));
    m_macros[1].setKeyEvents(sequence({0x01, 0x42, 0x81, 0x42}));
    m_work.startStopRecording();
    press(0x43);
    release(0x43);
    m_work.select(1);
    EXPECT_EQ(m_work.writePos(), 4u);
    press(0x44);
    release(0x44);
    EXPECT_EQ(used(m_macros[1].keyEvents()),
              (Bytes{0x01, 0x42, 0x81, 0x42, 0x01, 0x44, 0x81, 0x44}));
    EXPECT_EQ(used(m_macros[0].keyEvents()), (Bytes{0x01, 0x43, 0x81, 0x43}));
}

} // namespace
} // namespace q905
