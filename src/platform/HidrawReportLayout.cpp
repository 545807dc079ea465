// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HidrawReportLayout.h"

#include <algorithm>

namespace q905 {

namespace {
constexpr std::uint8_t kUnnumberedReportId = 0;
} // namespace

FeatureFrame featureRequestBuffer(const FeatureFrame& frame) {
    FeatureFrame buffer = frame;
    buffer[0] = kUnnumberedReportId;
    return buffer;
}

std::optional<FeatureFrame> featureReplyFromBuffer(const FeatureFrame& buffer, long returned) {
    // usbhid keeps the report id 0 in byte 0, puts the 8 data bytes in 1..8 and counts the id
    // in the result: exactly our reply frame. One kernel document has the data start
    // at byte 0 instead; if the real keyboard's replies show up shifted by one byte, this is
    // the one place to change.
    if (returned < 1)
        return std::nullopt;
    FeatureFrame reply = buffer;
    reply[0] = kUnnumberedReportId;
    return reply;
}

DataReport dataReportBuffer(const DataReport& report) {
    DataReport buffer = report;
    buffer[0] = kUnnumberedReportId;
    return buffer;
}

std::optional<DataReport> dataReportFromInput(std::span<const std::uint8_t> received) {
    // The data reports are unnumbered, and hidraw hands unnumbered reports over without an id
    // byte; anything of another length is some other report of the interface.
    if (received.size() != kDataBytesPerReport)
        return std::nullopt;
    DataReport report{};
    report[0] = kUnnumberedReportId;
    std::copy(received.begin(), received.end(), report.begin() + 1);
    return report;
}

std::optional<NotificationReport> notificationFromInput(std::span<const std::uint8_t> received) {
    // Numbered reports arrive with their id; the interface also carries other collections'
    // reports (media keys, system control), which are not ours.
    if (received.empty() || received[0] != kNotificationReportId)
        return std::nullopt;
    NotificationReport report{};
    const std::size_t count = std::min(received.size(), kNotificationReportSize);
    std::copy_n(received.begin(), count, report.begin());
    return report;
}

} // namespace q905
