#pragma once
// The read sequences: every device block of DeviceSettings from the keyboard, one query per
// block or record, in a fixed order with the keyboard's fixed waits.

#include "device/HidLink.h"
#include "device/Settings.h"

#include <functional>

namespace q905 {

// Every read stops at the first failed transfer, or once kReadDeadline has passed; blocks not
// read keep what the image held.
enum class ReadResult {
    Complete,
    TransferFailed, // a transfer failed: the keyboard went away or did not answer
    NoAnswer,       // the deadline passed before the read was done
};
inline constexpr Milliseconds kReadDeadline{5000};
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
