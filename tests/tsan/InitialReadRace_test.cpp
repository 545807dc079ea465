// Built with ThreadSanitizer: the start-up read on its own thread, the notification reader on
// another, and the window thread taking snapshots and copies meanwhile must not race.

#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "support/EmulatedDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace q905 {
namespace {

TEST(ThreadSafety, InitialReadWhileTheWindowTakesSnapshots) {
    testing::EmulatedDevice device;
    std::atomic<bool> done{false};
    std::thread readThread(
        [&] { initialRead(device.link, device.settings, [&](ReadResult) { done = true; }); });
    int snapshots = 0;
    while (!done) {
        device.settings.snapshot();
        const SettingsImage copy = device.settings.deviceCopy();
        (void)copy;
        device.keyboard.sendLightingChange(4, static_cast<std::uint8_t>(snapshots % 50));
        ++snapshots;
    }
    readThread.join();
    EXPECT_GT(snapshots, 0);

    device.settings.deviceSettings().at(layout::kGameMode.offset) ^= 1;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);
}

} // namespace
} // namespace q905
