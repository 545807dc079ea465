// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of a HID report descriptor that decides how an interface is split into top-level
// collections, each of which Windows (and so the keyboard's lookup) treats as its own device.

#include <cstdint>
#include <span>
#include <vector>

namespace q905 {

struct TopLevelCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // Report ids declared inside the collection, or just before it at depth 0, in order.
    std::vector<std::uint8_t> reportIds;
};

struct ReportDescriptorSummary {
    std::vector<TopLevelCollection> collections;
    // The last item ran past the end of the data; what came before it is still counted.
    bool truncated = false;
};

ReportDescriptorSummary summariseReportDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace q905
