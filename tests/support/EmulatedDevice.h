// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host side of the device link wired to an emulated keyboard, as the program wires it to
// a real one: link with both handles, the images, the notification reader. Waits are recorded,
// transfers traced, and anything the emulated keyboard rejects fails the test at once.

#include "app/NotificationReader.h"
#include "device/AckFlag.h"
#include "device/HidLink.h"
#include "device/Settings.h"
#include "emulator/EmulatedKeyboard.h"
#include "support/RecordingClock.h"
#include "support/TraceLines.h"

#include <gtest/gtest.h>

namespace q905::testing {

struct EmulatedDevice {
    EmulatedKeyboard keyboard;
    RecordingClock clock;
    TraceLines traceLines;
    HidLink link{keyboard.backend(), clock, &traceLines.trace()};
    Settings settings;
    AckFlag ack;
    NotificationReader reader{settings, ack, &traceLines.trace()};

    explicit EmulatedDevice(bool withReader = true) {
        keyboard.setErrorListener(
            [](const std::string& error) { ADD_FAILURE() << "emulated keyboard: " << error; });
        EXPECT_TRUE(link.openCommandHandle());
        if (withReader) {
            EXPECT_TRUE(link.openNotifyHandle());
            reader.start(link.notifyHandle(), nullptr);
        }
    }
    ~EmulatedDevice() { reader.stop(); }
};

} // namespace q905::testing
