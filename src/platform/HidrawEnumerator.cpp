// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HidrawEnumerator.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace q905 {

namespace {
constexpr std::string_view kNodePrefix = "hidraw";

std::optional<int> nodeNumber(std::string_view name) {
    if (name.size() <= kNodePrefix.size() || name.substr(0, kNodePrefix.size()) != kNodePrefix)
        return std::nullopt;
    const std::string_view digits = name.substr(kNodePrefix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size() || number < 0)
        return std::nullopt;
    return number;
}
} // namespace

std::optional<HidrawNode> parseHidrawNode(const HidrawDeviceFacts& facts) {
    const auto number = nodeNumber(facts.sysname);
    if (!number || facts.devnode.empty() || !facts.hidId)
        return std::nullopt;
    const auto id = parseHidId(*facts.hidId);
    if (!id)
        return std::nullopt;
    HidrawNode node;
    node.number = *number;
    node.devnode = facts.devnode;
    node.id = *id;
    // HID_PHYS names the interface on most host controllers; where it does not, the USB
    // interface itself does.
    if (facts.hidPhys)
        node.interfaceNumber = interfaceNumberFromPhys(*facts.hidPhys);
    if (!node.interfaceNumber && facts.interfaceNumber)
        node.interfaceNumber = parseInterfaceNumber(*facts.interfaceNumber);
    node.descriptor = summariseReportDescriptor(facts.reportDescriptor);
    return node;
}

HidrawEnumerator::HidrawEnumerator(HidrawDeviceSource source) : m_source(std::move(source)) {}

std::vector<HidrawNode> HidrawEnumerator::nodes() const {
    std::vector<HidrawNode> result;
    for (const HidrawDeviceFacts& facts : m_source())
        if (auto node = parseHidrawNode(facts))
            result.push_back(std::move(*node));
    std::sort(result.begin(), result.end(),
              [](const HidrawNode& a, const HidrawNode& b) { return a.number < b.number; });
    return result;
}

std::vector<HidInterfaceInfo> HidrawEnumerator::enumerate() const {
    std::vector<HidInterfaceInfo> result;
    for (const HidrawNode& node : nodes()) {
        const int collections = static_cast<int>(node.descriptor.collections.size());
        if (collections <= 1) {
            result.push_back({interfacePath(node.devnode, node.id, node.interfaceNumber, 0),
                              node.id.vendorId, node.id.productId});
            continue;
        }
        for (int collection = 1; collection <= collections; ++collection)
            result.push_back(
                {interfacePath(node.devnode, node.id, node.interfaceNumber, collection),
                 node.id.vendorId, node.id.productId});
    }
    return result;
}

std::string interfacePath(std::string_view devnode, const HidId& id,
                          std::optional<int> interfaceNumber, int collection) {
    char buffer[64];
    std::string path(devnode);
    std::snprintf(buffer, sizeof buffer, "#vid_%04x&pid_%04x", unsigned{id.vendorId},
                  unsigned{id.productId});
    path += buffer;
    if (interfaceNumber) {
        std::snprintf(buffer, sizeof buffer, "&mi_%02x", static_cast<unsigned>(*interfaceNumber));
        path += buffer;
    }
    if (collection > 0) {
        std::snprintf(buffer, sizeof buffer, "&col%02d", collection);
        path += buffer;
    }
    return path;
}

std::string devnodeOfPath(std::string_view path) {
    return std::string(path.substr(0, path.find('#')));
}

} // namespace q905
