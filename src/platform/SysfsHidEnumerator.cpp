// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SysfsHidEnumerator.h"

#include "base/RegularFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <system_error>

namespace q905 {

namespace {
namespace fs = std::filesystem;

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

// A sysfs attribute is at most a page; anything larger is not what we look for.
constexpr std::size_t kSysfsPage = 4096;

std::optional<std::string> readText(const fs::path& path) {
    const FileContents contents = readRegularFile(path, kSysfsPage);
    if (!contents.ok())
        return std::nullopt;
    return std::string(contents.bytes.begin(), contents.bytes.end());
}

// Real sysfs links class/hidraw/hidrawN/device to the hid device, whose parent directory is
// the usb_interface; resolve the link before going up, or ".." would climb the class tree.
std::optional<int> interfaceNumberFromParent(const fs::path& entry) {
    std::error_code error;
    const fs::path hidDevice = fs::canonical(entry / "device", error);
    if (error)
        return std::nullopt;
    const auto text = readText(hidDevice.parent_path() / "bInterfaceNumber");
    if (!text)
        return std::nullopt;
    return parseInterfaceNumber(*text);
}
} // namespace

SysfsHidEnumerator::SysfsHidEnumerator(std::filesystem::path sysfsRoot,
                                       std::filesystem::path deviceDirectory)
    : m_sysfsRoot(std::move(sysfsRoot)), m_deviceDirectory(std::move(deviceDirectory)) {}

std::vector<SysfsHidNode> SysfsHidEnumerator::nodes() const {
    std::vector<SysfsHidNode> result;
    std::error_code error;
    // No hidraw device at all means no class directory; that is an empty list, not a failure.
    fs::directory_iterator entries(m_sysfsRoot / "class" / "hidraw", error);
    if (error)
        return result;
    for (const fs::directory_entry& entry : entries) {
        const auto number = nodeNumber(entry.path().filename().string());
        if (!number)
            continue;
        if (auto node = readNode(entry.path(), *number))
            result.push_back(std::move(*node));
    }
    std::sort(result.begin(), result.end(),
              [](const SysfsHidNode& a, const SysfsHidNode& b) { return a.number < b.number; });
    return result;
}

std::optional<SysfsHidNode> SysfsHidEnumerator::readNode(const std::filesystem::path& entry,
                                                         int number) const {
    const auto uevent = readText(entry / "device" / "uevent");
    if (!uevent)
        return std::nullopt;
    const auto hidIdText = ueventValue(*uevent, "HID_ID");
    if (!hidIdText)
        return std::nullopt;
    const auto id = parseHidId(*hidIdText);
    if (!id)
        return std::nullopt;

    SysfsHidNode node;
    node.number = number;
    node.devnode = (m_deviceDirectory / entry.filename()).string();
    node.id = *id;
    if (const auto phys = ueventValue(*uevent, "HID_PHYS"))
        node.interfaceNumber = interfaceNumberFromPhys(*phys);
    if (!node.interfaceNumber)
        node.interfaceNumber = interfaceNumberFromParent(entry);
    if (const FileContents descriptor =
            readRegularFile(entry / "device" / "report_descriptor", kSysfsPage);
        descriptor.ok())
        node.descriptor = summariseReportDescriptor(descriptor.bytes);
    return node;
}

std::vector<HidInterfaceInfo> SysfsHidEnumerator::enumerate() const {
    std::vector<HidInterfaceInfo> result;
    for (const SysfsHidNode& node : nodes()) {
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
