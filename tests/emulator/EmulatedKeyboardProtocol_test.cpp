// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Commands.h"
#include "emulator/EmulatedKeyboard.h"
#include "emulator/KeyboardProbe.h"
#include "keys/DefaultKeyMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>

namespace q905 {
namespace {

using testing::kAcknowledgement;
using testing::KeyboardProbe;

std::vector<std::uint8_t> pattern(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), seed);
    return bytes;
}

std::vector<std::uint8_t> blockOf(const SettingsImage& image, Block block) {
    const auto bytes = image.block(block);
    return {bytes.begin(), bytes.end()};
}

class EmulatedKeyboardProtocol : public ::testing::Test {
  protected:
    EmulatedKeyboardProtocol() {
        keyboard.setErrorListener([this](const std::string& error) { heard.push_back(error); });
    }

    EmulatedKeyboard keyboard{{.firmwareMajor = 2, .firmwareMinor = 7}};
    KeyboardProbe probe{keyboard};
    std::vector<std::string> heard;
};

TEST_F(EmulatedKeyboardProtocol, ShortReadsReplyWithMemoryInWireForm) {
    SettingsImage memory = keyboard.memory();
    memory.at(layout::kReportRate.offset) = 2;
    memory.at(layout::kResponseTime.offset) = 7;
    memory.at(layout::kLightingEffect) = 6;
    memory.at(layout::kSpeedStep) = 3;
    memory.at(layout::kBrightness) = 40;
    memory.at(layout::kColourIndex) = 5;
    memory.at(layout::kDirection) = 4;
    memory.at(layout::kGameMode.offset) = 1;
    const std::uint8_t palm[8] = {0, 3, 20, 4, 1, 0x10, 0x20, 0x30};
    std::ranges::copy(palm, memory.block(layout::kPalmRestBlock).begin());
    std::ranges::copy(std::array<std::uint8_t, 3>{9, 8, 7},
                      memory.block(layout::colourTriple(6)).begin());
    keyboard.setMemory(memory);

    EXPECT_EQ(probe.query(command::kVersion), makeFeatureFrame(0x80, {2, 7}));
    EXPECT_EQ(probe.query(command::kReadReportRate), makeFeatureFrame(0x81, {2}));
    EXPECT_EQ(probe.query(command::kReadResponseTime), makeFeatureFrame(0x84, {8}));
    EXPECT_EQ(probe.query(command::kReadGameMode), makeFeatureFrame(0x89, {1}));
    // Speed step 3 travels as 10 - 3.
    EXPECT_EQ(probe.query(command::kReadLighting), makeFeatureFrame(0x88, {0, 6, 7, 40, 5, 4}));
    EXPECT_EQ(probe.query(command::kReadColourTriple, {.p2 = 6}),
              makeFeatureFrame(0x94, {0, 0, 9, 8, 7}));
    // The palm-rest reply is the block itself, led by the read command byte, without checksum.
    EXPECT_EQ(probe.query(command::kReadPalmRest),
              (FeatureFrame{0, 0x87, 3, 20, 4, 1, 0x10, 0x20, 0x30}));

    memory.at(layout::kSpeedStep) = 255;
    keyboard.setMemory(memory);
    EXPECT_EQ(probe.query(command::kReadLighting)[4], 11);
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST_F(EmulatedKeyboardProtocol, BulkReadsSendTheirReportsAfterTheReply) {
    SettingsImage memory = keyboard.memory();
    std::ranges::copy(pattern(192, 0x40), memory.block(layout::macroSlot(31)).begin());
    std::ranges::copy(pattern(512, 0x90), memory.block(layout::perKeyColourPage(4)).begin());
    std::ranges::copy(pattern(21, 0x01), memory.block(layout::kKeyEnableMask).begin());
    keyboard.setMemory(memory);

    EXPECT_EQ(probe.readBulk(command::kReadKeyMap, {}, 8),
              std::vector<std::uint8_t>(DefaultKeyMap.begin(), DefaultKeyMap.end()));
    EXPECT_EQ(probe.readBulk(command::kReadMacroSlot, {.p2 = 31}, 3), pattern(192, 0x40));
    EXPECT_EQ(probe.readBulk(command::kReadPerKeyColours, {.p2 = 4, .p3 = 8}, 8),
              pattern(512, 0x90));
    std::vector<std::uint8_t> mask = pattern(21, 0x01);
    mask.resize(64, 0);
    EXPECT_EQ(probe.readBulk(command::kReadKeyEnable, {.p3 = 21}, 1), mask);
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST_F(EmulatedKeyboardProtocol, EveryWrittenBlockReadsBack) {
    auto send = [this](std::uint8_t command, CommandParams params) {
        EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(command, params)));
    };
    send(command::kReportRate, {.p1 = 1});
    send(command::kResponseTime, {.p1 = 0}); // step 255 travels as 0
    send(command::kGameMode, {.p1 = 1});
    send(command::kColourTriple, {.p2 = 3, .p3 = 0xA1, .p4 = 0xA2, .p5 = 0xA3});
    EXPECT_TRUE(probe.command->setFeature({0, 0x07, 2, 30, 5, 1, 0xC1, 0xC2, 0xC3}));
    probe.writeBulk(command::kKeyMap, {.p3 = 8}, pattern(512, 0x11));
    probe.writeBulk(command::kMacroSlot, {.p2 = 17, .p3 = 3}, pattern(192, 0x22));
    probe.writeBulk(command::kPerKeyColours, {.p2 = 2, .p3 = 8}, pattern(512, 0x33));
    std::vector<std::uint8_t> mask(21, 0xFF);
    mask[1] = 0x3E; // Windows key locked
    probe.writeBulk(command::kKeyEnable, {.p3 = 21}, mask);

    const SettingsImage memory = keyboard.memory();
    EXPECT_EQ(memory.reportRate(), 1);
    EXPECT_EQ(memory.responseTime(), 255);
    EXPECT_EQ(memory.gameMode(), 1);
    EXPECT_EQ(blockOf(memory, layout::colourTriple(3)),
              (std::vector<std::uint8_t>{0xA1, 0xA2, 0xA3}));
    EXPECT_EQ(blockOf(memory, layout::kPalmRestBlock),
              (std::vector<std::uint8_t>{0x87, 2, 30, 5, 1, 0xC1, 0xC2, 0xC3}));
    EXPECT_EQ(blockOf(memory, layout::kKeyMapBlock), pattern(512, 0x11));
    EXPECT_EQ(blockOf(memory, layout::macroSlot(17)), pattern(192, 0x22));
    EXPECT_EQ(blockOf(memory, layout::macroSlot(16)), std::vector<std::uint8_t>(192, 0));
    EXPECT_EQ(blockOf(memory, layout::perKeyColourPage(2)), pattern(512, 0x33));
    EXPECT_EQ(blockOf(memory, layout::kKeyEnableMask), mask);
    EXPECT_EQ(memory.winKeyLock(), 1);

    // And back over the wire, in the form a host read stores.
    EXPECT_EQ(probe.query(command::kReadResponseTime)[2], 0) << "the keyboard reports step + 1";
    EXPECT_EQ(probe.query(command::kReadPalmRest)[8], 0xC3);
    EXPECT_EQ(probe.readBulk(command::kReadMacroSlot, {.p2 = 17}, 3), pattern(192, 0x22));
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST_F(EmulatedKeyboardProtocol, LightingPreviewLeavesBrightnessAndCommitStoresIt) {
    const std::uint8_t brightness = keyboard.memory().brightness();
    EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(0x08, {1, 13, 10, 0, 2, 3})));
    SettingsImage memory = keyboard.memory();
    EXPECT_EQ(memory.lightingEffect(), 13);
    EXPECT_EQ(memory.speedStep(), 0);
    EXPECT_EQ(memory.brightness(), brightness);
    EXPECT_EQ(memory.colourIndex(), 2);
    EXPECT_EQ(memory.direction(), 3);

    EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(0x08, {2, 1, 1, 17, 4, 1})));
    memory = keyboard.memory();
    EXPECT_EQ(memory.speedStep(), 9);
    EXPECT_EQ(memory.brightness(), 17);
    EXPECT_EQ(probe.query(command::kReadLighting), makeFeatureFrame(0x88, {0, 1, 1, 17, 4, 1}));
}

TEST_F(EmulatedKeyboardProtocol, AcknowledgesEachCompletedWriteAndNothingElse) {
    probe.query(command::kReadReportRate);
    probe.readBulk(command::kReadKeyMap, {}, 8);
    EXPECT_TRUE(probe.drainNotifications().empty());

    EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(0x18, {.p1 = 1})));
    EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(0x01, {.p1 = 2})));
    EXPECT_EQ(probe.drainNotifications(), std::vector(2, kAcknowledgement));

    // A bulk write is acknowledged only after its last report.
    EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(0x11, {.p2 = 0, .p3 = 3})));
    DataReport report{};
    EXPECT_TRUE(probe.command->writeReport(report));
    EXPECT_TRUE(probe.command->writeReport(report));
    EXPECT_TRUE(probe.drainNotifications().empty());
    EXPECT_TRUE(probe.command->writeReport(report));
    EXPECT_EQ(probe.drainNotifications(), std::vector(1, kAcknowledgement));
}

TEST_F(EmulatedKeyboardProtocol, FactoryResetCommandRestoresDefaults) {
    probe.writeBulk(command::kKeyMap, {.p3 = 8}, pattern(512, 0x11));
    probe.writeBulk(command::kKeyEnable, {.p3 = 21}, std::vector<std::uint8_t>(21, 0));
    probe.drainNotifications();

    EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(0x13, {.p1 = 0xFF})));
    const SettingsImage memory = keyboard.memory();
    EXPECT_EQ(memory, EmulatedKeyboard().memory()); // a new keyboard starts from the same
    EXPECT_EQ(blockOf(memory, layout::kKeyMapBlock),
              std::vector<std::uint8_t>(DefaultKeyMap.begin(), DefaultKeyMap.end()));
    EXPECT_EQ(blockOf(memory, layout::kKeyEnableMask), std::vector<std::uint8_t>(21, 0xFF));
    EXPECT_EQ(memory.winKeyLock(), 0);
    EXPECT_EQ(memory.at(layout::kPalmRestBlock.offset), 0x87);
    EXPECT_EQ(memory.brightness(), 50);
    EXPECT_EQ(probe.drainNotifications(), std::vector(1, kAcknowledgement));
}

// Each case sends something the keyboard must refuse; the text must name the offending bytes.
struct Violation {
    const char* name;
    std::function<bool(KeyboardProbe&)> transfer;
    const char* expectedText;
};

TEST_F(EmulatedKeyboardProtocol, RefusesAndRecordsEveryViolation) {
    auto frame = [](FeatureFrame f) {
        return [f](KeyboardProbe& p) { return p.command->setFeature(f); };
    };
    auto after = [](FeatureFrame first, std::function<bool(KeyboardProbe&)> then) {
        return [first, then](KeyboardProbe& p) {
            EXPECT_TRUE(p.command->setFeature(first));
            return then(p);
        };
    };
    auto fetch = [](KeyboardProbe& p) {
        FeatureFrame reply{};
        return p.command->getFeature(reply);
    };
    auto read = [](KeyboardProbe& p) {
        DataReport report{};
        return p.command->readReport(report);
    };
    auto write = [](KeyboardProbe& p) {
        DataReport report{};
        report[1] = 0x5A;
        return p.command->writeReport(report);
    };
    FeatureFrame badChecksum = makeFeatureFrame(0x81);
    badChecksum[8] = 0x7F;
    DataReport maskWithTail{};
    maskWithTail[30] = 1;

    const Violation violations[] = {
        {"bad checksum", frame(badChecksum), "00 81 00 00 00 00 00 00 7F"},
        {"unknown command", frame(makeFeatureFrame(0x42)), "unknown command 0x42"},
        {"unknown read", frame(makeFeatureFrame(0xC2)), "unknown read command 0xC2"},
        {"report id", frame({5, 0x81, 0, 0, 0, 0, 0, 0, 0x7E}), "report id 0x05"},
        {"slot out of range", frame(makeFeatureFrame(0x91, {.p2 = 32})), "out of range 0..31"},
        {"page out of range", frame(makeFeatureFrame(0x12, {.p2 = 5, .p3 = 8})), "0..4"},
        {"triple out of range", frame(makeFeatureFrame(0x14, {.p2 = 7})), "0..6"},
        {"wrong report count", frame(makeFeatureFrame(0x0D, {.p3 = 7})), "expected 0x08"},
        {"unused parameter", frame(makeFeatureFrame(0x81, {.p4 = 1})), "p4 = 0x01"},
        {"preview with brightness", frame(makeFeatureFrame(0x08, {1, 3, 5, 50, 8, 1})), "p4"},
        {"reset without 0xFF", frame(makeFeatureFrame(0x13, {.p1 = 1})), "expected 0xFF"},
        {"reply with nothing pending", fetch, "no reply pending"},
        {"reply after a write", after(makeFeatureFrame(0x18, {.p1 = 1}), fetch),
         "no reply pending"},
        {"read with nothing pending", read, "no data report pending"},
        {"read before the reply", after(makeFeatureFrame(0x8D), read), "was not fetched"},
        {"write nobody asked for", write, "write 00 5A 00"},
        {"frame while reports are owed",
         after(makeFeatureFrame(0x0D, {.p3 = 8}), frame(makeFeatureFrame(0x81))),
         "8 of 8 data reports of 0x0D are still unwritten"},
        {"frame while a reply is unfetched",
         after(makeFeatureFrame(0x81), frame(makeFeatureFrame(0x84))),
         "reply to 0x81 was not fetched"},
        {"mask report with a tail",
         after(makeFeatureFrame(0x0E, {.p3 = 21}),
               [&](KeyboardProbe& p) { return p.command->writeReport(maskWithTail); }),
         "bytes 22..64"},
    };

    const SettingsImage before = keyboard.memory();
    for (const Violation& violation : violations) {
        SCOPED_TRACE(violation.name);
        keyboard.clearErrors();
        heard.clear();
        EXPECT_FALSE(violation.transfer(probe));
        const auto errors = keyboard.errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(violation.expectedText), std::string::npos) << errors[0];
        EXPECT_EQ(heard, errors);
        // The keyboard forgets the broken exchange and answers the next request normally.
        EXPECT_EQ(probe.query(command::kReadGameMode), makeFeatureFrame(0x89));
        EXPECT_EQ(keyboard.errors().size(), 1u);
    }
    EXPECT_EQ(keyboard.memory(), before);
}

} // namespace
} // namespace q905
