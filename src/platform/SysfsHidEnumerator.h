// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists the hidraw nodes under a sysfs tree and names every interface and top-level collection
// with a path in the form the keyboard lookup expects:
//   /dev/hidraw5#vid_04d9&pid_a12e&mi_01&col04
// The part before '#' is the node to open; the rest only identifies the interface.

#include "device/HidBackend.h"
#include "platform/ReportDescriptor.h"
#include "platform/SysfsUevent.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q905 {

// One /sys/class/hidraw/hidrawN entry.
struct SysfsHidNode {
    int number = 0; // N of hidrawN
    std::string devnode;
    HidId id;
    // Absent for devices that are not USB interfaces (Bluetooth, I2C, virtual).
    std::optional<int> interfaceNumber;
    // Empty when the descriptor could not be read.
    ReportDescriptorSummary descriptor;
};

class SysfsHidEnumerator {
  public:
    explicit SysfsHidEnumerator(std::filesystem::path sysfsRoot = "/sys",
                                std::filesystem::path deviceDirectory = "/dev");

    // The nodes that could be parsed, by hidraw number.
    std::vector<SysfsHidNode> nodes() const;
    // One entry per interface, or per top-level collection where an interface has several;
    // by hidraw number, then collection.
    std::vector<HidInterfaceInfo> enumerate() const;

  private:
    std::optional<SysfsHidNode> readNode(const std::filesystem::path& entry, int number) const;

    std::filesystem::path m_sysfsRoot;
    std::filesystem::path m_deviceDirectory;
};

// collection is 1-based; 0 when the interface has a single collection and so no "&colNN".
std::string interfacePath(std::string_view devnode, const HidId& id,
                          std::optional<int> interfaceNumber, int collection);

// The node a path from interfacePath() names; a plain node path is returned unchanged.
std::string devnodeOfPath(std::string_view path);

} // namespace q905
