// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pure parsing of what the kernel says about a HID device: HID_ID, HID_PHYS, bInterfaceNumber
// and the sysfs name of a hid device. Shared by the hidraw enumerator and the udev monitor.

#include <cstdint>
#include <optional>
#include <string_view>

namespace q905 {

struct HidId {
    std::uint16_t bus = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// HID_ID as the hid core writes it: "0003:000004D9:0000A12E" (bus, vendor, product; hex).
std::optional<HidId> parseHidId(std::string_view value);

// The hid device's own sysfs name, "0003:04D9:A12E.0004", found as one component of a device
// path. Still readable from a removal event, when the device's sysfs files are already gone.
std::optional<HidId> hidIdFromDevicePath(std::string_view devicePath);

// The USB interface number in HID_PHYS, "usb-0000:00:14.0-2/input3" -> 3 (decimal).
std::optional<int> interfaceNumberFromPhys(std::string_view phys);

// The contents of a usb_interface's bInterfaceNumber file: two hex digits and a newline.
std::optional<int> parseInterfaceNumber(std::string_view text);

} // namespace q905
