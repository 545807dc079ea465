// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Commands.h"
#include "emulator/EmulatedKeyboard.h"
#include "emulator/KeyboardProbe.h"
#include "support/RecordingClock.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <unistd.h>

namespace q905 {
namespace {

using namespace std::chrono_literals;
using testing::kAcknowledgement;
using testing::KeyboardProbe;

TEST(EmulatedKeyboardDevice, PresentsItsInterfacesAndOpensOnlyTheTwoChannels) {
    EmulatedKeyboard keyboard;
    HidBackend& backend = keyboard.backend();
    const std::string base = "emulated#vid_04d9&pid_a12e&";
    // The interfaces of the keyboard in tests/data/sysfs, in its order.
    const std::vector<std::string> expected = {
        base + "mi_00",       base + "mi_01&col01", base + "mi_01&col02", base + "mi_01&col03",
        base + "mi_01&col04", base + "mi_02",       base + "mi_03"};
    std::vector<std::string> paths;
    for (const HidInterfaceInfo& info : backend.enumerate()) {
        paths.push_back(info.path);
        EXPECT_EQ(info.vendorId, 0x04D9);
        EXPECT_EQ(info.productId, 0xA12E);
    }
    EXPECT_EQ(paths, expected);

    const auto keyboardInterface = backend.openCommand(base + "mi_00");
    EXPECT_FALSE(keyboardInterface.ok());
    EXPECT_NE(keyboardInterface.message().find("held by the system"), std::string::npos)
        << keyboardInterface.message();
    for (const char* collection :
         {"mi_01&col01", "mi_01&col02", "mi_01&col03", "mi_01&col04", "mi_02"}) {
        const auto refused = backend.openCommand(base + collection);
        EXPECT_FALSE(refused.ok()) << collection;
        EXPECT_FALSE(refused.message().empty());
    }
    EXPECT_FALSE(backend.openNotification(base + "mi_03").ok());
    EXPECT_FALSE(backend.openNotification(base + "mi_01&col03").ok());
    const auto command = backend.openCommand(base + "mi_03");
    EXPECT_TRUE(command.ok()) << command.message();
    const auto notify = backend.openNotification(base + "mi_01&col04");
    EXPECT_TRUE(notify.ok()) << notify.message();
    // Refused opens are not protocol violations.
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST(EmulatedKeyboardDevice, UnplugWakesABlockedReadWithGoneAndKillsOpenChannels) {
    EmulatedKeyboard keyboard;
    std::vector<bool> plugEvents;
    keyboard.setPlugListener([&](bool plugged) { plugEvents.push_back(plugged); });
    KeyboardProbe probe(keyboard);
    probe.writeBulk(command::kMacroSlot, {.p2 = 3, .p3 = 3}, std::vector<std::uint8_t>(192, 7));

    auto blocked = std::async(std::launch::async, [&] {
        NotificationReport report{};
        NotificationRead result;
        // The acknowledgement of the write above comes first.
        while ((result = probe.notify->read(report)) == NotificationRead::Report) {
        }
        return result;
    });
    ASSERT_TRUE(keyboard.waitForBlockedReads(1, 2s));
    keyboard.unplug();
    ASSERT_EQ(blocked.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(blocked.get(), NotificationRead::Gone);

    EXPECT_TRUE(keyboard.backend().enumerate().empty());
    EXPECT_FALSE(keyboard.backend().openCommand(testing::kCommandPath).ok());
    EXPECT_FALSE(probe.command->setFeature(makeFeatureFrame(0x81)));

    keyboard.plug();
    EXPECT_EQ(plugEvents, (std::vector<bool>{false, true}));
    // Handles from before the unplug stay dead; new ones work and the memory survived.
    EXPECT_FALSE(probe.command->setFeature(makeFeatureFrame(0x81)));
    NotificationReport report{};
    EXPECT_EQ(probe.notify->read(report), NotificationRead::Gone);
    KeyboardProbe again(keyboard);
    EXPECT_EQ(again.readBulk(command::kReadMacroSlot, {.p2 = 3}, 3),
              std::vector<std::uint8_t>(192, 7));
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST(EmulatedKeyboardDevice, AReplugAnswersItsTransferThenVanishesAndComesBackWithTheSameMemory) {
    for (const char* wrong : {"replug@0", "replug@3:", "replug@3x0", "replug@:5", "replug@3:5x"})
        EXPECT_FALSE(parseFault(wrong)) << wrong;
    testing::RecordingClock clock;
    EmulatedKeyboard keyboard({.clock = &clock});
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<bool> plugEvents;
    keyboard.setPlugListener([&](bool plugged) {
        std::lock_guard lock(mutex);
        plugEvents.push_back(plugged);
        changed.notify_all();
    });
    const auto waitForEvents = [&](std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 5s, [&] { return plugEvents.size() >= count; });
    };
    KeyboardProbe probe(keyboard);
    probe.writeBulk(command::kMacroSlot, {.p2 = 3, .p3 = 3}, std::vector<std::uint8_t>(192, 7));

    // Two cycles; each counts its three transfers from when the keyboard came back.
    const auto fault = parseFault("replug@3:1500x2");
    ASSERT_TRUE(fault);
    keyboard.setFaults({*fault});
    for (std::size_t cycle = 1; cycle <= 2; ++cycle) {
        SCOPED_TRACE(cycle);
        KeyboardProbe session(keyboard);
        session.query(command::kReadReportRate);
        EXPECT_TRUE(session.command->setFeature(makeFeatureFrame(command::kReadReportRate)));
        ASSERT_TRUE(waitForEvents(2 * cycle));
        FeatureFrame reply{};
        EXPECT_FALSE(session.command->getFeature(reply)) << "a handle from before stays dead";
    }
    EXPECT_EQ(plugEvents, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(clock.totalMilliseconds(), 3000) << "the time away goes through the clock";
    KeyboardProbe again(keyboard);
    EXPECT_EQ(again.readBulk(command::kReadMacroSlot, {.p2 = 3}, 3),
              std::vector<std::uint8_t>(192, 7));
    EXPECT_TRUE(keyboard.isPlugged()) << "no third cycle";
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST(EmulatedKeyboardDevice, UnplugForgetsAHalfDoneExchange) {
    EmulatedKeyboard keyboard;
    KeyboardProbe probe(keyboard);
    EXPECT_TRUE(probe.command->setFeature(makeFeatureFrame(0x0D, {.p3 = 8})));
    keyboard.unplug();
    keyboard.plug();
    KeyboardProbe again(keyboard);
    EXPECT_EQ(again.query(command::kReadGameMode)[1], 0x89);
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST(EmulatedKeyboardDevice, StopWakesABlockedReadFromAnotherThread) {
    EmulatedKeyboard keyboard;
    KeyboardProbe probe(keyboard);
    auto blocked = std::async(std::launch::async, [&] {
        NotificationReport report{};
        return probe.notify->read(report);
    });
    ASSERT_TRUE(keyboard.waitForBlockedReads(1, 2s));
    probe.notify->stop();
    ASSERT_EQ(blocked.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(blocked.get(), NotificationRead::Stopped);
    // Later reads end at once, even with a report waiting.
    keyboard.sendLaunchRequest(0x41);
    NotificationReport report{};
    EXPECT_EQ(probe.notify->read(report), NotificationRead::Stopped);
}

TEST(EmulatedKeyboardDevice, KeyboardSideReports) {
    EmulatedKeyboard keyboard;
    KeyboardProbe probe(keyboard);
    keyboard.sendLightingChange(notification::kSpeedField, 3);
    keyboard.sendLightingChange(notification::kBrightnessField, 20);
    keyboard.sendLightingChange(7, 1);
    keyboard.sendLaunchRequest(0x41);

    SettingsImage memory = keyboard.memory();
    std::ranges::copy(std::array<std::uint8_t, 4>{10, 0, 0x5D, 0},
                      memory.block({layout::kKeyMapBlock.offset + 4 * 20, 4}).begin());
    keyboard.setMemory(memory);
    EXPECT_TRUE(keyboard.pressKey(20));
    EXPECT_FALSE(keyboard.pressKey(0)); // an ordinary key is not reported
    EXPECT_FALSE(keyboard.pressKey(128));
    EXPECT_FALSE(keyboard.pressKey(-1));

    EXPECT_EQ(probe.drainNotifications(),
              (std::vector<NotificationReport>{
                  {4, 1, 3, 3}, {4, 1, 4, 20}, {4, 1, 7, 1}, {4, 2, 0x41, 0}, {4, 2, 0x5D, 0}}));
    memory = keyboard.memory();
    EXPECT_EQ(memory.speedStep(), 7);
    EXPECT_EQ(memory.brightness(), 20);
    keyboard.sendLightingChange(notification::kSpeedField, 11);
    EXPECT_EQ(keyboard.memory().speedStep(), 255);

    // Without power there are no hot keys and no key presses.
    keyboard.unplug();
    keyboard.sendLightingChange(notification::kSpeedField, 1);
    EXPECT_EQ(keyboard.memory().speedStep(), 255);
    EXPECT_FALSE(keyboard.pressKey(20));
}

TEST(EmulatedKeyboardDevice, ReportsReachOnlyChannelsOpenAtTheTime) {
    EmulatedKeyboard keyboard;
    keyboard.sendLaunchRequest(0x10);
    KeyboardProbe first(keyboard);
    auto opened = keyboard.backend().openNotification(testing::kNotificationPath);
    ASSERT_TRUE(opened.ok());
    auto& second = *opened;
    keyboard.sendLaunchRequest(0x20);

    EXPECT_EQ(first.drainNotifications(), (std::vector<NotificationReport>{{4, 2, 0x20, 0}}));
    NotificationReport report{};
    EXPECT_EQ(second->read(report), NotificationRead::Report);
    EXPECT_EQ(report, (NotificationReport{4, 2, 0x20, 0}));
}

TEST(EmulatedKeyboardDevice, ConcurrentWritesAreAllAcknowledged) {
    EmulatedKeyboard keyboard;
    KeyboardProbe probe(keyboard);
    constexpr int kWrites = 200;
    auto reader = std::async(std::launch::async, [&] {
        int acknowledgements = 0;
        NotificationReport report{};
        while (acknowledgements < kWrites && probe.notify->read(report) == NotificationRead::Report)
            acknowledgements += report == kAcknowledgement;
        return acknowledgements;
    });
    auto lighting = std::async(std::launch::async, [&] {
        for (int i = 0; i < kWrites; ++i)
            keyboard.sendLightingChange(notification::kDirectionField, 1);
    });
    for (int i = 0; i < kWrites; ++i)
        EXPECT_TRUE(probe.command->setFeature(
            makeFeatureFrame(0x14, {.p2 = static_cast<std::uint8_t>(i % 7), .p3 = 1})));
    lighting.get();
    ASSERT_EQ(reader.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(reader.get(), kWrites);
    EXPECT_EQ(keyboard.transferCount(), static_cast<std::size_t>(kWrites));
    EXPECT_TRUE(keyboard.errors().empty());
}

TEST(EmulatedKeyboardDevice, EachTransferTakesTheLatency) {
    EmulatedKeyboard keyboard({.latency = 3ms});
    KeyboardProbe probe(keyboard);
    const auto start = std::chrono::steady_clock::now();
    probe.readBulk(command::kReadMacroSlot, {.p2 = 0}, 3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 15ms);
    EXPECT_EQ(keyboard.transferCount(), 5u);
}

TEST(EmulatedKeyboardDevice, MemoryFilesHoldExactlyTheImage) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "q905-emulator-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path folder = pattern;
    const auto file = folder / "memory.bin";

    EmulatedKeyboard original;
    SettingsImage memory = original.memory();
    memory.at(0) = 0xAB; // reserved ranges travel too
    memory.at(0x2753) = 0xCD;
    memory.at(layout::kWinKeyMaskByte) = 0x3E;
    original.setMemory(memory);
    ASSERT_TRUE(original.saveMemory(file).ok());
    EXPECT_EQ(std::filesystem::file_size(file), kSettingsImageSize);

    EmulatedKeyboard copy;
    ASSERT_TRUE(copy.loadMemory(file).ok());
    EXPECT_EQ(copy.memory(), original.memory());
    EXPECT_EQ(copy.memory().winKeyLock(), 1);

    // A file of another size, or no regular file, is refused and leaves the memory as it was;
    // a missing one means factory settings.
    std::ofstream(folder / "short.bin", std::ios::binary) << "too short";
    EmulatedKeyboard untouched;
    EXPECT_FALSE(untouched.loadMemory(folder / "short.bin").ok());
    EXPECT_FALSE(untouched.loadMemory(folder).ok());
    EXPECT_TRUE(untouched.loadMemory(folder / "missing.bin").ok());
    EXPECT_EQ(untouched.memory(), EmulatedKeyboard().memory());
    std::filesystem::remove_all(folder);
}

TEST(EmulatedKeyboardDevice, ChannelsOutlivingTheKeyboardFailQuietly) {
    auto keyboard = std::make_unique<EmulatedKeyboard>();
    KeyboardProbe probe(*keyboard);
    keyboard.reset();
    EXPECT_FALSE(probe.command->setFeature(makeFeatureFrame(0x81)));
    NotificationReport report{};
    EXPECT_EQ(probe.notify->read(report), NotificationRead::Gone);
}

} // namespace
} // namespace q905
