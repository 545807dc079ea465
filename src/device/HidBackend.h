// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seam between the device link and whatever carries HID reports: the kernel's hidraw
// nodes or the emulated keyboard. Both hand the upper layers the same report shapes.

#include "base/Result.h"
#include "device/Reports.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace q905 {

inline constexpr std::uint16_t kKeyboardVendorId = 0x04D9;
inline constexpr std::uint16_t kKeyboardProductId = 0xA12E;

// One HID interface, or one top-level collection of an interface that has several. The path
// names them the way the lookup substrings expect ("...&mi_03...", "...&col04...").
struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Feature reports plus 65-byte output/input reports: the command handle.
class CommandChannel {
  public:
    virtual ~CommandChannel() = default;
    virtual bool setFeature(const FeatureFrame& frame) = 0;
    // reply[0] is 0 on entry; on success the reply has report id 0 in byte 0.
    virtual bool getFeature(FeatureFrame& reply) = 0;
    virtual bool writeReport(const DataReport& report) = 0;
    // On success report[0] is 0 and bytes 1..64 hold the data.
    virtual bool readReport(DataReport& report) = 0;
    // A data report that is already waiting, without waiting for one; false when none is.
    virtual bool readPendingReport(DataReport& report) = 0;
};

enum class NotificationRead {
    Report,  // a report with id 4 was stored
    Stopped, // stop() was called
    Gone,    // the device went away
};

// 4-byte input reports with report id 4: the notification handle.
class NotificationChannel {
  public:
    virtual ~NotificationChannel() = default;
    // Blocks until a report arrives, stop() is called or the device is gone.
    virtual NotificationRead read(NotificationReport& report) = 0;
    // Wakes a blocked read (from any thread); later reads return Stopped at once.
    virtual void stop() = 0;
};

class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // The HID interfaces present now, in a stable order.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;
    // The open channel, or why the path cannot be opened, for the user.
    virtual Result<std::unique_ptr<CommandChannel>> openCommand(const std::string& path) = 0;
    virtual Result<std::unique_ptr<NotificationChannel>>
    openNotification(const std::string& path) = 0;
};

} // namespace q905
