// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ReportDescriptor.h"

#include <algorithm>
#include <cstddef>

namespace q905 {

namespace {
// Short item prefix: bits 7..4 tag, bits 3..2 type, bits 1..0 size code (USB HID 1.11, 6.2.2.2).
constexpr std::uint8_t kTagAndTypeMask = 0xFC;
constexpr std::uint8_t kCollection = 0xA0;
constexpr std::uint8_t kEndCollection = 0xC0;
constexpr std::uint8_t kUsagePage = 0x04;
constexpr std::uint8_t kUsage = 0x08;
constexpr std::uint8_t kReportId = 0x84;
constexpr std::uint8_t kLongItem = 0xFE;
constexpr std::size_t kShortDataSizes[] = {0, 1, 2, 4};

std::uint32_t littleEndian(std::span<const std::uint8_t> data) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        value |= std::uint32_t{data[i]} << (8 * i);
    return value;
}

void addReportId(std::vector<std::uint8_t>& ids, std::uint8_t id) {
    if (std::find(ids.begin(), ids.end(), id) == ids.end())
        ids.push_back(id);
}
} // namespace

ReportDescriptorSummary summariseReportDescriptor(std::span<const std::uint8_t> descriptor) {
    ReportDescriptorSummary summary;
    std::size_t depth = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // A Report ID item may precede the Collection it belongs to.
    std::vector<std::uint8_t> pendingIds;

    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItem) {
            // Long items carry no information we use; only their length matters.
            if (pos + 1 >= descriptor.size()) {
                summary.truncated = true;
                break;
            }
            const std::size_t length = 3 + std::size_t{descriptor[pos + 1]};
            if (pos + length > descriptor.size()) {
                summary.truncated = true;
                break;
            }
            pos += length;
            continue;
        }

        const std::size_t dataSize = kShortDataSizes[prefix & 0x03];
        if (pos + 1 + dataSize > descriptor.size()) {
            summary.truncated = true;
            break;
        }
        const std::uint32_t value = littleEndian(descriptor.subspan(pos + 1, dataSize));
        pos += 1 + dataSize;

        switch (prefix & kTagAndTypeMask) {
        case kUsagePage:
            usagePage = static_cast<std::uint16_t>(value);
            break;
        case kUsage:
            // A 4-byte usage carries its own page in the high half.
            if (dataSize == 4)
                usagePage = static_cast<std::uint16_t>(value >> 16);
            usage = static_cast<std::uint16_t>(value);
            break;
        case kReportId:
            if (dataSize == 0 || value == 0 || value > 0xFF)
                break; // not a valid id; ignore rather than invent one
            if (depth == 0)
                addReportId(pendingIds, static_cast<std::uint8_t>(value));
            else if (!summary.collections.empty())
                addReportId(summary.collections.back().reportIds, static_cast<std::uint8_t>(value));
            break;
        case kCollection:
            if (depth == 0) {
                summary.collections.push_back({usagePage, usage, std::move(pendingIds)});
                pendingIds.clear();
            }
            ++depth;
            break;
        case kEndCollection:
            // A stray End Collection at depth 0 is garbage; staying at 0 keeps the count sane.
            if (depth > 0)
                --depth;
            break;
        default:
            break;
        }
        // Usage is a local item: every main item ends its scope.
        if ((prefix & 0x0C) == 0x00)
            usage = 0;
    }
    return summary;
}

} // namespace q905
