// SPDX-License-Identifier: GPL-3.0-or-later
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
    // At least once, even when the read was quicker than this thread's start.
    int snapshots = 0;
    do {
        device.settings.snapshot();
        const SettingsImage copy = device.settings.deviceCopy();
        (void)copy;
        device.keyboard.sendLightingChange(4, static_cast<std::uint8_t>(snapshots % 50));
        ++snapshots;
    } while (!done);
    readThread.join();

    device.settings.deviceSettings().at(layout::kGameMode.offset) ^= 1;
    EXPECT_EQ(applyChanges(device.link, device.settings, device.ack), ApplyResult::Applied);
}

} // namespace
} // namespace q905
