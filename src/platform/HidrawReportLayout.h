// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the keyboard's report shapes differ from what hidraw reads and writes, the translation
// lives here and nowhere else.

#include "device/Reports.h"

#include <cstdint>
#include <optional>
#include <span>

namespace q905 {

// The 9-byte buffer for HIDIOCSFEATURE: report id 0, then the 8 bytes the keyboard receives.
FeatureFrame featureRequestBuffer(const FeatureFrame& frame);

// The reply to HIDIOCGFEATURE, given the buffer the ioctl filled and its result (bytes
// returned, report id included); nothing when no data came back.
std::optional<FeatureFrame> featureReplyFromBuffer(const FeatureFrame& buffer, long returned);

// The 65 bytes for write(): report id 0, which the kernel strips, then 64 data bytes.
DataReport dataReportBuffer(const DataReport& report);

// One read() from the command node as a DataReport; nothing when it is not a 64-byte report.
std::optional<DataReport> dataReportFromInput(std::span<const std::uint8_t> received);

// One read() from the notification node as a NotificationReport; nothing unless it is a
// report with id 4.
std::optional<NotificationReport> notificationFromInput(std::span<const std::uint8_t> received);

} // namespace q905
