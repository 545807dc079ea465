#pragma once
// The read sequences: every device block of DeviceSettings from the keyboard, one query per
// block or record, in a fixed order with the keyboard's fixed waits.

#include "device/HidLink.h"
#include "device/Settings.h"

#include <functional>

namespace q905 {

// Used after a factory reset and when the keyboard is plugged in. Takes no snapshot.
void readAll(HidLink& link, Settings& settings);

// readAll, the five per-key colour pages once more, then the firmware version.
void plugInRead(HidLink& link, Settings& settings);

// The start-up read: every block and the version, then a snapshot, then readDone (the
// window's refresh), called on the reading thread after the sequence has released the link.
void initialRead(HidLink& link, Settings& settings, const std::function<void()>& readDone);

// Single reads, for callers that need one value.
void readDeviceVersion(HidLink& link, Settings& settings);
void readLightingParams(HidLink& link, Settings& settings);

} // namespace q905
