// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NotificationReader.h"
#include "support/EmulatedDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace q905 {
namespace {

struct RecordingEvents : NotificationEvents {
    std::vector<std::pair<int, int>> lighting;
    std::vector<int> launches;
    void lightingChanged(std::uint8_t field, std::uint8_t stored) override {
        lighting.emplace_back(field, stored);
    }
    void launchRequested(std::uint8_t keyCode) override { launches.push_back(keyCode); }
};

struct ReaderFixture {
    Settings settings;
    AckFlag ack;
    RecordingEvents events;
    NotificationReader reader{settings, ack};
};

TEST(NotificationReader, LightingReportsChangeBothImagesSoTheyAreNotSentBack) {
    ReaderFixture f;
    // dispatch without a running thread: events go to the sink given at start
    f.reader.dispatch({4, 1, 3, 3});
    EXPECT_EQ(f.settings.deviceSettings().speedStep(), 7);
    EXPECT_EQ(f.settings.appliedSettings().speedStep(), 7);
    f.reader.dispatch({4, 1, 4, 42});
    EXPECT_EQ(f.settings.appliedSettings().brightness(), 42);

    const SettingsImage before = f.settings.deviceSettings();
    f.reader.dispatch({4, 1, 7, 9});
    EXPECT_EQ(f.settings.deviceSettings(), before) << "field 7 is no lighting field";
}

TEST(NotificationReader, ThreadDeliversAcknowledgementsLaunchesAndLightingChanges) {
    testing::EmulatedDevice device(false);
    RecordingEvents events;
    ASSERT_TRUE(device.link.openNotifyHandle());
    device.reader.start(device.link.notifyHandle(), &events);
    EXPECT_TRUE(device.ack.isListening());

    device.keyboard.sendLaunchRequest(0x41);
    device.keyboard.sendLightingChange(3, 3);
    device.keyboard.sendNotification({4, 4, 0, 0});
    EXPECT_TRUE(device.ack.wait(Milliseconds(2000)));
    device.reader.stop();
    EXPECT_FALSE(device.reader.isRunning());
    EXPECT_FALSE(device.ack.isListening());

    EXPECT_EQ(events.launches, std::vector<int>{0x41});
    EXPECT_EQ(events.lighting, (std::vector<std::pair<int, int>>{{3, 7}}));
    EXPECT_EQ(device.settings.appliedSettings().speedStep(), 7);
    const auto lines = device.traceLines.all();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "notify 04 02 41 00"), 1);
}

TEST(NotificationReader, UnplugEndsTheReaderAndTellsTheWindow) {
    testing::EmulatedDevice device(false);
    struct Ended : RecordingEvents {
        std::promise<void> ended;
        void readerEnded() override { ended.set_value(); }
    } events;
    auto ended = events.ended.get_future();
    ASSERT_TRUE(device.link.openNotifyHandle());
    device.reader.start(device.link.notifyHandle(), &events);
    device.keyboard.unplug();
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_FALSE(device.reader.isRunning());
    EXPECT_FALSE(device.ack.wait(Milliseconds(1000))) << "nobody listens: no wait at all";
}

} // namespace
} // namespace q905
