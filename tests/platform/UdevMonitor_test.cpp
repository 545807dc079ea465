// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UdevMonitor.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

TEST(UdevMonitor, OnlyTheKeyboardsOwnNodesCount) {
    DeviceEvent event{DeviceEvent::Action::Removed, "/dev/hidraw11", 0x04D9, 0xA12E};
    EXPECT_TRUE(isKeyboardEvent(event));
    event.productId = 0xA126;
    EXPECT_FALSE(isKeyboardEvent(event));
    event = {DeviceEvent::Action::Added, "/dev/hidraw0", 0x046D, 0xA12E};
    EXPECT_FALSE(isKeyboardEvent(event));
}

TEST(UdevMonitor, ConstructsWithAnFdOrSaysWhyNot) {
    UdevMonitor monitor;
    if (monitor.available()) {
        EXPECT_GE(monitor.fd(), 0);
        EXPECT_TRUE(monitor.source() == "udev" || monitor.source() == "kernel");
        EXPECT_TRUE(monitor.error().empty());
    } else {
        EXPECT_EQ(monitor.fd(), -1);
        EXPECT_FALSE(monitor.error().empty());
        EXPECT_FALSE(monitor.receive());
    }
}

} // namespace
} // namespace q905
