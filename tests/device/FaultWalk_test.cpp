// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard failing at every single transfer of a start-up read and of an apply that changes
// every block: the sequence ends at once and says so, never claims what did not happen, and
// after a replug the next read or apply brings host and keyboard back in step.

#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "support/EmulatedDevice.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace q905 {
namespace {

using testing::EmulatedDevice;

// Every block the apply compares differs from what the keyboard holds.
void changeEveryBlock(SettingsImage& image) {
    image.at(layout::kBrightness) = static_cast<std::uint8_t>((image.brightness() + 7) % 51);
    image.at(layout::kEffectColours.offset) ^= 0x5A;
    image.at(layout::kGameMode.offset) ^= 1;
    image.at(layout::kReportRate.offset) = static_cast<std::uint8_t>((image.reportRate() + 1) % 4);
    image.at(layout::kResponseTime.offset) =
        static_cast<std::uint8_t>((image.responseTime() + 1) % 10);
    image.at(layout::kKeyMapBlock.offset + 2) ^= 0x01;
    for (std::size_t slot = 0; slot < layout::kMacroSlotCount; ++slot)
        image.at(layout::macroSlot(slot).offset + 5) ^= 0x33;
    image.at(layout::kKeyEnableMask.offset) ^= 0x02;
    for (std::size_t page = 0; page < layout::kPerKeyPageCount; ++page)
        image.at(layout::perKeyColourPage(page).offset + 9) ^= 0x44;
    image.at(layout::kPalmRestBlock.offset + 3) ^= 0x01;
}

// After the fault: the keyboard back (replugged when it went away), the handles and the
// reader opened again, as the window does on arrival.
void reconnect(EmulatedDevice& device) {
    device.keyboard.setFaults({});
    device.keyboard.plug();
    device.reader.stop();
    device.link.closeCommandHandle();
    device.link.closeNotifyHandle();
    ASSERT_TRUE(device.link.openCommandHandle());
    ASSERT_TRUE(device.link.openNotifyHandle());
    device.reader.start(device.link.notifyHandle(), nullptr);
}

std::size_t transfersOf(const std::function<void(EmulatedDevice&)>& sequence) {
    EmulatedDevice device;
    const std::size_t before = device.keyboard.transferCount();
    sequence(device);
    return device.keyboard.transferCount() - before;
}

TEST(FaultWalk, AStartUpReadEndsAtTheFailedTransferAndAReplugReadsItRight) {
    const std::size_t transfers = transfersOf(
        [](EmulatedDevice& device) { (void)initialRead(device.link, device.settings, {}); });
    ASSERT_GT(transfers, 200u);
    std::size_t walked = 0;
    for (const Fault::Kind kind : {Fault::Kind::Unplug, Fault::Kind::Fail}) {
        for (std::size_t n = 1; n <= transfers; ++n) {
            SCOPED_TRACE(std::string(kind == Fault::Kind::Unplug ? "unplug@" : "fail@") +
                         std::to_string(n));
            EmulatedDevice device;
            device.keyboard.setFaults({{kind, n}});
            ASSERT_EQ(initialRead(device.link, device.settings, {}), ReadResult::TransferFailed);
            EXPECT_LE(device.keyboard.transferCount(), n) << "nothing after the failed transfer";
            reconnect(device);
            ASSERT_EQ(readAll(device.link, device.settings), ReadResult::Complete);
            EXPECT_TRUE(device.settings.deviceSettings().sameBlock(device.keyboard.memory(),
                                                                   layout::kKeyMapBlock));
            EXPECT_TRUE(device.settings.deviceSettings().sameBlock(device.keyboard.memory(),
                                                                   layout::kPerKeyColourPages));
            ++walked;
        }
    }
    RecordProperty("walked", static_cast<int>(walked));
}

TEST(FaultWalk, AnApplyEndsAtTheFailedTransferClosesTheSessionAndTheNextApplySendsItAgain) {
    const auto prepared = [](EmulatedDevice& device) {
        (void)initialRead(device.link, device.settings, {});
        changeEveryBlock(device.settings.deviceSettings());
        device.traceLines.clear();
    };
    std::size_t transfers = 0;
    {
        EmulatedDevice device;
        prepared(device);
        const std::size_t before = device.keyboard.transferCount();
        ASSERT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);
        transfers = device.keyboard.transferCount() - before;
    }
    std::size_t walked = 0;
    for (const Fault::Kind kind : {Fault::Kind::Unplug, Fault::Kind::Fail}) {
        for (std::size_t n = 1; n <= transfers; ++n) {
            SCOPED_TRACE(std::string(kind == Fault::Kind::Unplug ? "unplug@" : "fail@") +
                         std::to_string(n));
            EmulatedDevice device;
            prepared(device);
            const SettingsImage wanted = device.settings.deviceCopy();
            const SettingsImage appliedBefore = device.settings.appliedCopy();
            device.keyboard.setFaults({{kind, n}});
            ASSERT_EQ(applyChanges(device.link, device.settings, device.ack),
                      ApplyResult::TransferFailed);
            EXPECT_EQ(device.settings.appliedCopy(), appliedBefore) << "no snapshot";
            if (kind == Fault::Kind::Fail) {
                // The keyboard stayed: the apply still closed with the lighting and the session.
                // The opening lighting frame carries brightness 0; once it went out, the closing
                // one must follow.
                const auto frames = testing::headsOf(device.traceLines.sentFrames());
                ASSERT_GE(frames.size(), 2u);
                EXPECT_EQ(frames.back(), "18 00");
                if (std::find(frames.begin(), frames.end(), "08 01") != frames.end()) {
                    EXPECT_EQ(frames[frames.size() - 2], "08 02");
                }
            }
            reconnect(device);
            ASSERT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);
            EXPECT_TRUE(device.keyboard.memory().sameBlock(wanted, layout::kMacroSlotBlock));
            EXPECT_TRUE(device.keyboard.memory().sameBlock(wanted, layout::kPerKeyColourPages));
            EXPECT_EQ(device.keyboard.memory().brightness(), wanted.brightness());
            ++walked;
        }
    }
    RecordProperty("walked", static_cast<int>(walked));
}

TEST(FaultWalk, AReportArrivingLateNeverShiftsABlock) {
    // The transfers of a clean start-up read, by kind.
    std::vector<std::string> kinds;
    {
        EmulatedDevice device;
        (void)initialRead(device.link, device.settings, {});
        for (const std::string& line : device.traceLines.all()) {
            const std::string kind = line.substr(0, line.find(' '));
            if (kind == "set-feature" || kind == "get-feature" || kind == "read" || kind == "write")
                kinds.push_back(kind);
        }
    }
    // A stray report after transfer n, when the next transfer opens an exchange: whatever
    // comes next is read right.
    int walked = 0;
    for (std::size_t n = 1; n < kinds.size(); ++n) {
        if (kinds[n] != "set-feature")
            continue;
        SCOPED_TRACE("stray-report@" + std::to_string(n));
        EmulatedDevice device;
        device.keyboard.setFaults({{Fault::Kind::StrayReport, n}});
        ASSERT_EQ(initialRead(device.link, device.settings, {}), ReadResult::Complete);
        const SettingsImage memory = device.keyboard.memory();
        for (const Block block : {layout::kKeyMapBlock, layout::kMacroSlotBlock,
                                  layout::kKeyEnableMask, layout::kPerKeyColourPages})
            EXPECT_TRUE(device.settings.deviceSettings().sameBlock(memory, block));
        ++walked;
    }
    EXPECT_GT(walked, 40);
}

} // namespace
} // namespace q905
