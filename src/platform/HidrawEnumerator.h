// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists the hidraw nodes udev knows and names every interface and top-level collection with a
// path in the form the keyboard lookup expects:
//   /dev/hidraw5#vid_04d9&pid_a12e&mi_01&col04
// The part before '#' is the node to open; the rest only identifies the interface.

#include "device/HidBackend.h"
#include "platform/HidIds.h"
#include "platform/ReportDescriptor.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q905 {

// What udev tells about one hidraw node, as text and bytes, before any of it is trusted.
struct HidrawDeviceFacts {
    std::string sysname; // "hidraw9"
    std::string devnode; // "/dev/hidraw9"
    // Properties of the parent in subsystem "hid".
    std::optional<std::string> hidId;
    std::optional<std::string> hidPhys;
    // Attribute of the parent of devtype "usb_interface"; absent for Bluetooth, I2C, uhid.
    std::optional<std::string> interfaceNumber;
    // The hid parent's report_descriptor; empty when it could not be read.
    std::vector<std::uint8_t> reportDescriptor;
};

using HidrawDeviceSource = std::function<std::vector<HidrawDeviceFacts>()>;

// Every node in subsystem "hidraw", through libudev.
std::vector<HidrawDeviceFacts> udevHidrawDevices();

// One hidraw node that could be parsed.
struct HidrawNode {
    int number = 0; // N of hidrawN
    std::string devnode;
    HidId id;
    std::optional<int> interfaceNumber;
    ReportDescriptorSummary descriptor;
};

class HidrawEnumerator {
  public:
    explicit HidrawEnumerator(HidrawDeviceSource source = &udevHidrawDevices);

    // The nodes that could be parsed, by hidraw number.
    std::vector<HidrawNode> nodes() const;
    // One entry per interface, or per top-level collection where an interface has several;
    // by hidraw number, then collection.
    std::vector<HidInterfaceInfo> enumerate() const;

  private:
    HidrawDeviceSource m_source;
};

// The node facts describe, or nothing when they do not name a hid device.
std::optional<HidrawNode> parseHidrawNode(const HidrawDeviceFacts& facts);

// collection is 1-based; 0 when the interface has a single collection and so no "&colNN".
std::string interfacePath(std::string_view devnode, const HidId& id,
                          std::optional<int> interfaceNumber, int collection);

// The node a path from interfacePath() names; a plain node path is returned unchanged.
std::string devnodeOfPath(std::string_view path);

} // namespace q905
