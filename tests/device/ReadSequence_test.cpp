// SPDX-License-Identifier: GPL-3.0-or-later
// The read sequences against the emulated keyboard, checked on the trace line by line.

#include "device/DeviceReader.h"
#include "support/EmulatedDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace q905 {
namespace {

using testing::EmulatedDevice;

// The expected command-handle traffic, written out request by request.
class ExpectedTrace {
  public:
    ExpectedTrace& frame(std::uint8_t command, CommandParams params = {}) {
        m_lines.push_back("set-feature " + Trace::hex(makeFeatureFrame(command, params)));
        return *this;
    }
    ExpectedTrace& sleep(long ms) {
        m_lines.push_back("sleep " + std::to_string(ms));
        return *this;
    }
    ExpectedTrace& reply() {
        m_lines.push_back("get-feature");
        return *this;
    }
    ExpectedTrace& reads(int n, long sleepAfterEach = -1) {
        for (int i = 0; i < n; ++i) {
            m_lines.push_back("read");
            if (sleepAfterEach >= 0)
                sleep(sleepAfterEach);
        }
        return *this;
    }
    // get-feature and read lines are compared by kind; their bytes are checked through the
    // values they leave in the image.
    void check(const std::vector<std::string>& actual) const {
        ASSERT_EQ(actual.size(), m_lines.size());
        for (std::size_t i = 0; i < actual.size(); ++i) {
            const std::string& want = m_lines[i];
            if (want == "get-feature" || want == "read")
                EXPECT_TRUE(actual[i].starts_with(want + ' ')) << "line " << i << ": " << actual[i];
            else
                EXPECT_EQ(actual[i], want) << "line " << i;
        }
    }

  private:
    std::vector<std::string> m_lines;
};

void expectLightingToKeyEnable(ExpectedTrace& t) {
    t.frame(0x88).sleep(10).reply();
    for (std::uint8_t triple = 0; triple < 7; ++triple)
        t.frame(0x94, {.p2 = triple}).sleep(1).reply().sleep(1);
    t.frame(0x89).sleep(5).reply();
    t.frame(0x81).sleep(10).reply().sleep(10);
    t.frame(0x84).sleep(10).reply().sleep(10);
    t.frame(0x8D).reply().reads(8);
    t.frame(0x8E, {.p3 = 21}).reply().reads(1);
}

void expectPages(ExpectedTrace& t) {
    for (std::uint8_t page = 0; page < 5; ++page)
        t.frame(0x92, {.p2 = page, .p3 = 8}).sleep(5).reply().sleep(5).reads(8, 5);
}

TEST(ReadSequence, InitialReadSendsEveryRequestInOrderWithItsWaits) {
    EmulatedDevice device;
    bool readDone = false;
    (void)initialRead(device.link, device.settings, [&](ReadResult) { readDone = true; });
    EXPECT_TRUE(readDone);

    ExpectedTrace t;
    t.frame(0x09, {.p1 = 1}).sleep(20);
    t.frame(0x80).sleep(10).reply().sleep(10);
    expectLightingToKeyEnable(t);
    for (std::uint8_t slot = 0; slot < 32; ++slot)
        t.frame(0x91, {.p2 = slot}).reply().reads(3).sleep(0);
    expectPages(t);
    t.frame(0x87).sleep(20).reply().sleep(100);
    t.check(device.traceLines.commands());
}

TEST(ReadSequence, ReadAllWaits469MillisecondsAndPlugInReadAddsPagesAndVersion) {
    EmulatedDevice device;
    EXPECT_EQ(readAll(device.link, device.settings), ReadResult::Complete);
    EXPECT_EQ(device.clock.totalMilliseconds(), 469);

    ExpectedTrace t;
    t.frame(0x09, {.p1 = 1}).sleep(20).sleep(10);
    expectLightingToKeyEnable(t);
    for (std::uint8_t slot = 0; slot < 32; ++slot)
        t.frame(0x91, {.p2 = slot}).reply().reads(3);
    expectPages(t);
    t.frame(0x87).sleep(20).reply().sleep(100);
    t.check(device.traceLines.commands());

    device.traceLines.clear();
    EXPECT_EQ(plugInRead(device.link, device.settings), ReadResult::Complete);
    ExpectedTrace plug;
    plug.frame(0x09, {.p1 = 1}).sleep(20).sleep(10);
    expectLightingToKeyEnable(plug);
    for (std::uint8_t slot = 0; slot < 32; ++slot)
        plug.frame(0x91, {.p2 = slot}).reply().reads(3);
    expectPages(plug);
    plug.frame(0x87).sleep(20).reply().sleep(100);
    expectPages(plug);
    plug.frame(0x80).sleep(10).reply().sleep(10);
    plug.check(device.traceLines.commands());
}

TEST(ReadSequence, InitialReadFillsTheImageAsTheKeyboardHoldsItAndSnapshotsIt) {
    EmulatedDevice device;
    SettingsImage memory = device.keyboard.memory();
    memory.at(layout::kSpeedStep) = 7;
    memory.at(layout::kReportRate.offset) = 2;
    memory.at(layout::kKeyMapBlock.offset + 100) = 0x42;
    memory.at(layout::macroSlot(31).offset + 191) = 0x5A;
    memory.at(layout::perKeyColourPage(4).offset + 511) = 0x77;
    memory.at(layout::colourTriple(6).offset + 2) = 0xC8;
    device.keyboard.setMemory(memory);
    device.keyboard.setFirmwareVersion(2, 7);
    // Reserved bytes come from keymap.bin, never from the keyboard.
    device.settings.deviceSettings().at(layout::kReservedAfterReportRate.offset) = 0x99;

    (void)initialRead(device.link, device.settings, {});
    const SettingsImage& image = device.settings.deviceSettings();
    EXPECT_EQ(image.speedStep(), 7);
    EXPECT_EQ(image.reportRate(), 2);
    EXPECT_EQ(image.at(layout::kKeyMapBlock.offset + 100), 0x42);
    EXPECT_EQ(image.at(layout::macroSlot(31).offset + 191), 0x5A);
    EXPECT_EQ(image.at(layout::perKeyColourPage(4).offset + 511), 0x77);
    EXPECT_EQ(image.at(layout::colourTriple(6).offset + 2), 0xC8);
    EXPECT_EQ(image.at(layout::kReservedAfterReportRate.offset), 0x99);
    EXPECT_EQ(device.settings.deviceVersion(), (DeviceVersion{{2, 7, 0, 0}}));
    EXPECT_EQ(device.settings.appliedSettings(), image);
}

TEST(ReadSequence, SpeedResponseTimeAndWindowsLockAreDecodedFromTheWire) {
    EmulatedDevice device;
    SettingsImage memory = device.keyboard.memory();
    // The keyboard reports the response time step 9 as 10; the image holds the step.
    memory.at(layout::kResponseTime.offset) = 9;
    // The emulated memory holds image values; step 7 travels as 3, step 255 as 11.
    memory.at(layout::kSpeedStep) = 7;
    memory.at(layout::kWinKeyMaskByte) = 0x3E; // even: the Windows key is locked
    device.keyboard.setMemory(memory);
    EXPECT_EQ(readAll(device.link, device.settings), ReadResult::Complete);
    EXPECT_EQ(device.settings.deviceSettings().speedStep(), 7);
    EXPECT_EQ(device.settings.deviceSettings().winKeyLock(), 1);
    EXPECT_EQ(device.settings.deviceSettings().responseTime(), 9);

    memory.at(layout::kSpeedStep) = 255;
    memory.at(layout::kWinKeyMaskByte) = 0x3F;
    device.keyboard.setMemory(memory);
    EXPECT_EQ(readAll(device.link, device.settings), ReadResult::Complete);
    EXPECT_EQ(device.settings.deviceSettings().speedStep(), 255);
    EXPECT_EQ(device.settings.deviceSettings().winKeyLock(), 0);
}

TEST(ReadSequence, ASlowKeyboardIsReadToTheEnd) {
    // 20 ms a transfer, as behind a slow hub: the start-up read takes longer than five seconds.
    // The keyboard's transfer time and the read's waits go through one recording clock.
    testing::RecordingClock clock;
    EmulatedKeyboard keyboard({.latency = std::chrono::milliseconds(20), .clock = &clock});
    SettingsImage memory = keyboard.memory();
    memory.at(layout::kPalmRestBlock.offset + 3) = 0x21; // the last block read
    keyboard.setMemory(memory);
    HidLink link(keyboard.backend(), clock);
    ASSERT_TRUE(link.openCommandHandle());
    Settings settings;
    EXPECT_EQ(initialRead(link, settings, {}), ReadResult::Complete);
    EXPECT_GT(clock.totalMilliseconds(), 5000);
    EXPECT_TRUE(settings.appliedSettings().sameBlock(keyboard.memory(), layout::kPalmRestBlock));
    EXPECT_TRUE(
        settings.appliedSettings().sameBlock(keyboard.memory(), layout::kPerKeyColourPages));
}

TEST(ReadSequence, AStopEndsTheReadAfterTheExchangeUnderWayAndAfterTheGameModeIsBack) {
    EmulatedKeyboard keyboard;
    SettingsImage memory = keyboard.memory();
    memory.at(layout::kBrightness) = 3;
    keyboard.setMemory(memory);
    testing::RecordingClock clock;
    std::atomic<bool> stop = false;
    std::string stopAfter; // the stop is asked for as soon as this line is traced
    std::vector<std::string> lines;
    Trace trace([&](const std::string& line) {
        lines.push_back(line);
        if (line == stopAfter)
            stop = true;
    });
    HidLink link(keyboard.backend(), clock, &trace);
    ASSERT_TRUE(link.openCommandHandle());
    const auto frameLine = [](std::uint8_t command, CommandParams params) {
        return "set-feature " + Trace::hex(makeFeatureFrame(command, params));
    };
    const auto linesAfterStop = [&] {
        const auto at = std::find(lines.begin(), lines.end(), stopAfter);
        EXPECT_NE(at, lines.end());
        return std::vector<std::string>(at == lines.end() ? at : at + 1, lines.end());
    };

    // Asked during a macro slot's request: its reply and three reports still come, no more.
    Settings settings;
    stopAfter = frameLine(command::kReadMacroSlot, {.p2 = 3});
    EXPECT_EQ(initialRead(link, settings, {}, {.stop = &stop}), ReadResult::Stopped);
    const std::vector<std::string> tail = linesAfterStop();
    ASSERT_GE(tail.size(), 4U);
    EXPECT_TRUE(tail[0].starts_with("get-feature ")) << tail[0];
    for (std::size_t i = 1; i < 4; ++i)
        EXPECT_TRUE(tail[i].starts_with("read ")) << tail[i];
    EXPECT_TRUE(std::none_of(tail.begin() + 4, tail.end(), [](const std::string& line) {
        return !line.starts_with("sleep ");
    })) << "a transfer after the exchange under way";
    // Half a keyboard is never taken as what it holds.
    EXPECT_EQ(settings.deviceSettings().brightness(), 3);
    EXPECT_EQ(settings.appliedSettings().brightness(), 0);

    // Asked during the opening: game mode 0 goes back before the read ends.
    lines.clear();
    stop = false;
    stopAfter = frameLine(command::kGameMode, {.p1 = 1});
    EXPECT_EQ(plugInRead(link, settings, {.gameMode = 0, .stop = &stop}), ReadResult::Stopped);
    EXPECT_EQ(linesAfterStop(),
              (std::vector<std::string>{"sleep 20", "sleep 10", frameLine(command::kGameMode, {}),
                                        "sleep 20"}));
    EXPECT_EQ(keyboard.memory().at(layout::kGameMode.offset), 0);
}

TEST(ReadSequence, AReadAgainstAnUnpluggedKeyboardStopsAtOnceAndLeavesTheImageAlone) {
    EmulatedDevice device;
    device.settings.deviceSettings().at(layout::kBrightness) = 33;
    device.keyboard.unplug();
    EXPECT_EQ(readAll(device.link, device.settings), ReadResult::TransferFailed);
    EXPECT_EQ(device.settings.deviceSettings().brightness(), 33);
    EXPECT_EQ(device.clock.totalMilliseconds(), 0)
        << "nothing is waited for a keyboard that is gone";
}

TEST(ReadSequence, AFailedReplyOrReportIsTracedAsFailed) {
    EmulatedDevice device(false);
    // Transfers 1 and 3 send the requests, 2 and 4 fetch the replies, 5 is the first report.
    device.keyboard.setFaults(
        {{.kind = Fault::Kind::Fail, .transfer = 2}, {.kind = Fault::Kind::Fail, .transfer = 5}});
    EXPECT_FALSE(device.link.queryCommand(command::kReadKeyMap));
    ASSERT_TRUE(device.link.queryCommand(command::kReadKeyMap));
    EXPECT_FALSE(device.link.readBlock(command::kKeyMapReports, [](std::size_t, auto) {}));
    const std::vector<std::string> lines = device.traceLines.commands();
    ASSERT_EQ(lines.size(), 5U);
    EXPECT_EQ(lines[1], "get-feature-failed");
    EXPECT_TRUE(lines[3].starts_with("get-feature ")) << lines[3];
    EXPECT_EQ(lines[4], "read-failed");
}

} // namespace
} // namespace q905
