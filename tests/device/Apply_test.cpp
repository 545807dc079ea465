// SPDX-License-Identifier: GPL-3.0-or-later
// Applying against the emulated keyboard: only the blocks that differ go out, in the fixed
// order, each group acknowledged; the keyboard ends up holding the image.

#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "support/EmulatedDevice.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

using testing::EmulatedDevice;

// The emulated keyboard read into both images, as after start-up.
struct AppliedDevice : EmulatedDevice {
    explicit AppliedDevice(bool withReader = true) : EmulatedDevice(withReader) {
        (void)initialRead(link, settings, {});
        traceLines.clear();
    }
    SettingsImage& image() { return settings.deviceSettings(); }
    // The commands of the frames sent, with their first parameter: "18 01".
    std::vector<std::string> frameCommands() const {
        return testing::headsOf(traceLines.sentFrames());
    }
};

TEST(Apply, NothingChangedSendsOnlyTheSessionFramesAndThePalmRest) {
    AppliedDevice device;
    const std::uint8_t palmByte1 =
        device.settings.appliedSettings().at(layout::kPalmRestBlock.offset + 1);
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::NothingToApply);
    EXPECT_EQ(
        device.frameCommands(),
        (std::vector<std::string>{"18 01", "07 " + Trace::hex(std::span(&palmByte1, 1)), "18 00"}));
    for (const std::string& line : device.traceLines.commands())
        EXPECT_NE(line, "wait-ack");
}

TEST(Apply, AChangedWindowsLockSendsOnlyTheKeyEnableMaskBetweenTheLightingFrames) {
    AppliedDevice device;
    device.image().at(layout::kWinKeyLock.offset) = 1;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);
    const auto frames = device.traceLines.sentFrames();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[0].head(), "18 01");
    EXPECT_EQ(frames[1].command(), 0x07);
    EXPECT_EQ(frames[2].head(), "08 01");
    EXPECT_EQ(frames[3].command(), 0x0E);
    EXPECT_EQ(frames[4].head(), "08 02");
    EXPECT_EQ(frames[5].head(), "18 00");
    EXPECT_EQ(device.keyboard.memory().at(layout::kWinKeyMaskByte) & 0x01, 0);
    EXPECT_EQ(device.settings.appliedSettings(), device.settings.deviceSettings());
}

// The literal bytes pin the wire form of the lighting frames, which the emulated keyboard
// shares with the host: speed counted down from 10, brightness only in the closing frame.
TEST(Apply, LightingFramesCarryTheSpeedCountedDownAndTheBrightnessOnlyAtTheEnd) {
    AppliedDevice device;
    device.image().at(layout::kLightingEffect) = 2;
    device.image().at(layout::kSpeedStep) = 0;
    device.image().at(layout::kBrightness) = 40;
    device.image().at(layout::kColourIndex) = 5;
    device.image().at(layout::kDirection) = 1;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);
    const auto frames = device.traceLines.sentFrames();
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[2].bytes, (FeatureFrame{0, 0x08, 1, 2, 0x0A, 0, 5, 1, 0xE4}));
    EXPECT_EQ(frames[3].bytes, (FeatureFrame{0, 0x08, 2, 2, 0x0A, 0x28, 5, 1, 0xBB}));
    EXPECT_EQ(device.keyboard.memory().speedStep(), 0);
    EXPECT_EQ(device.keyboard.memory().brightness(), 40);
}

TEST(Apply, GroupsFollowTheFixedOrderAndOnlyChangedRecordsAreSent) {
    AppliedDevice device;
    device.image().at(layout::colourTriple(3).offset) ^= 0x10;
    device.image().at(layout::macroSlot(17).offset + 5) ^= 0x01;
    device.image().at(layout::perKeyColourPage(2).offset) ^= 0x01;
    device.image().at(layout::kResponseTime.offset) = 255;
    device.image().at(layout::kKeyMapBlock.offset + 8) ^= 0x01;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);

    const auto frames = device.traceLines.sentFrames();
    std::vector<std::string> commands;
    for (const testing::SentFrame& frame : frames)
        commands.push_back(frame.commandHex());
    EXPECT_EQ(commands, (std::vector<std::string>{"18", "07", "08", "14", "14", "14", "14", "14",
                                                  "14", "14", "04", "0D", "11", "12", "08", "18"}));
    EXPECT_EQ(frames[10].head(), "04 00") << "response time 255 travels as 0";
    EXPECT_EQ(frames[12].bytes, makeFeatureFrame(0x11, {.p2 = 17, .p3 = 3}));
    EXPECT_EQ(frames[13].bytes, makeFeatureFrame(0x12, {.p2 = 2, .p3 = 8}));

    int ackWaits = 0;
    for (const std::string& line : device.traceLines.commands())
        ackWaits += line == "wait-ack";
    EXPECT_EQ(ackWaits, 6) << "lighting, colours, response time, key map, slot, page";
    SettingsImage expected = device.settings.deviceSettings();
    expected.at(layout::kPalmRestBlock.offset) = 0x87; // what a read of the keyboard reports
    expected.at(layout::kResponseTime.offset) = 255;
    const SettingsImage memory = device.keyboard.memory();
    for (Block block : {layout::kEffectColours, layout::kKeyMapBlock, layout::kMacroSlotBlock,
                        layout::kPerKeyColourPages, layout::kResponseTime})
        EXPECT_TRUE(memory.sameBlock(expected, block)) << "block at " << block.offset;
}

TEST(Apply, BulkWritesCarryTheirDataReportsAndWaits) {
    AppliedDevice device;
    device.image().at(layout::macroSlot(0).offset + 191) = 0xAB;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);
    const auto lines = device.traceLines.commands();
    const std::string slotFrame =
        "set-feature " + Trace::hex(makeFeatureFrame(0x11, {.p2 = 0, .p3 = 3}));
    const auto at = std::find(lines.begin(), lines.end(), slotFrame);
    ASSERT_NE(at, lines.end());
    ASSERT_GT(lines.end() - at, 7);
    EXPECT_EQ(at[1], "sleep 1");
    EXPECT_TRUE(at[2].starts_with("write "));
    EXPECT_EQ(at[3], "sleep 0");
    EXPECT_TRUE(at[4].starts_with("write "));
    EXPECT_EQ(at[5], "sleep 0");
    EXPECT_TRUE(at[6].ends_with(" AB")) << "the slot's last byte ends the third report";
    EXPECT_EQ(at[7], "wait-ack");
}

TEST(Apply, APalmRestChangeAloneIsSentButTakesNoSnapshot) {
    AppliedDevice device;
    device.image().at(layout::kPalmRestBlock.offset + 3) ^= 0x05;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::NothingToApply);
    EXPECT_EQ(device.traceLines.sentFrames().size(), 3u);
    EXPECT_NE(device.settings.appliedSettings().at(layout::kPalmRestBlock.offset + 3),
              device.settings.deviceSettings().at(layout::kPalmRestBlock.offset + 3));
    EXPECT_EQ(device.keyboard.memory().at(layout::kPalmRestBlock.offset + 3),
              device.settings.deviceSettings().at(layout::kPalmRestBlock.offset + 3));
}

TEST(Apply, WithoutACommandHandleNothingIsSent) {
    // No notification reader: its thread would trace the keyboard's reports whenever they come,
    // and the trace must hold only what this apply did.
    AppliedDevice device(false);
    device.link.closeCommandHandle();
    device.image().at(layout::kBrightness) ^= 1;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::NotConnected);
    EXPECT_TRUE(device.traceLines.all().empty());
}

TEST(Apply, AnUnacknowledgedGroupEndsTheApplyWithoutASnapshot) {
    AppliedDevice device(false); // no notification reader: nothing can acknowledge
    device.image().at(layout::kBrightness) ^= 1;
    device.image().at(layout::kGameMode.offset) ^= 1;
    EXPECT_EQ(
        applyChanges(device.link, device.settings, device.ack, {.ackTimeout = Milliseconds(20)}),
        ApplyResult::NotAcknowledged);
    const auto commands = device.frameCommands();
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(commands[0], "18 01");
    EXPECT_TRUE(commands[1].starts_with("07"));
    EXPECT_EQ(commands[2], "08 01");
    // The opening lighting frame set the brightness to 0: the closing one restores it, so the
    // keyboard is not left dark, then the session closes.
    EXPECT_EQ(commands[3], "08 02");
    EXPECT_EQ(commands[4], "18 00");
    EXPECT_NE(device.settings.appliedSettings(), device.settings.deviceSettings());

    // A reader that runs but a keyboard that stays silent: the bound ends the wait.
    device.traceLines.clear();
    device.ack.setListening(true);
    EXPECT_EQ(
        applyChanges(device.link, device.settings, device.ack, {.ackTimeout = Milliseconds(20)}),
        ApplyResult::NotAcknowledged);
    EXPECT_EQ(device.frameCommands().back(), "18 00");
}

TEST(Apply, ResetRestoresFactorySettingsWithItsWaits) {
    AppliedDevice device;
    SettingsImage memory = device.keyboard.memory();
    memory.at(layout::kKeyMapBlock.offset) = 0x55;
    device.keyboard.setMemory(memory);
    const SettingsImage factory = [] {
        EmulatedKeyboard fresh;
        return fresh.memory();
    }();
    EXPECT_EQ(resetKeyboard(device.link), ApplyResult::Applied);
    EXPECT_EQ(device.traceLines.commands(),
              (std::vector<std::string>{
                  "set-feature " + Trace::hex(makeFeatureFrame(0x13, {.p1 = 0xFF})), "sleep 300",
                  "set-feature " + Trace::hex(makeFeatureFrame(0x09, {.p1 = 1})), "sleep 20",
                  "sleep 300", "set-feature " + Trace::hex(makeFeatureFrame(0x09, {.p1 = 1})),
                  "sleep 20", "sleep 300"}));
    EXPECT_TRUE(device.keyboard.memory().sameBlock(factory, layout::kKeyMapBlock));
}

} // namespace
} // namespace q905
