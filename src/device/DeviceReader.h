// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The read sequences: every device block of DeviceSettings from the keyboard, one query per
// block or record, in a fixed order with the keyboard's fixed waits.

#include "device/HidLink.h"
#include "device/Settings.h"

#include <functional>

namespace q905 {

// Every read stops at the first failed transfer; blocks not read keep what the image held.
// There is no limit on the whole read, only on each transfer (the backend's: a data report
// that has not come within a second, a feature report the kernel gives up on), so a slow
// keyboard is read to the end and a silent one ends the read at its first unanswered transfer.
enum class ReadResult {
    Complete,
    TransferFailed, // a transfer failed: the keyboard went away or did not answer
};
const char* describe(ReadResult result);

// Used after a factory reset and when the keyboard is plugged in. Takes no snapshot.
[[nodiscard]] ReadResult readAll(HidLink& link, Settings& settings);

// readAll, the five per-key colour pages once more, then the firmware version.
[[nodiscard]] ReadResult plugInRead(HidLink& link, Settings& settings);

// The start-up read: every block and the version, then a snapshot, then readDone (the
// window's refresh), called on the reading thread after the sequence has released the link.
ReadResult initialRead(HidLink& link, Settings& settings,
                       const std::function<void(ReadResult)>& readDone);

// Single reads, for callers that need one value.
[[nodiscard]] ReadResult readDeviceVersion(HidLink& link, Settings& settings);
[[nodiscard]] ReadResult readLightingParams(HidLink& link, Settings& settings);

} // namespace q905
