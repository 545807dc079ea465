// SPDX-License-Identifier: GPL-3.0-or-later
// The libudev side of the hidraw enumeration: it only gathers what udev says; every decision
// about it is made, and tested, in HidrawEnumerator.cpp.
#include "platform/HidrawEnumerator.h"

#include "base/RegularFile.h"

#include <libudev.h>
#include <memory>

namespace q905 {

namespace {
struct UdevUnref {
    void operator()(udev* context) const { udev_unref(context); }
    void operator()(udev_enumerate* enumerate) const { udev_enumerate_unref(enumerate); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
template <typename T> using UdevPtr = std::unique_ptr<T, UdevUnref>;

// The kernel caps a report descriptor at 4096 bytes.
constexpr std::size_t kMaxReportDescriptor = 4096;

std::optional<std::string> text(const char* value) {
    if (!value)
        return std::nullopt;
    return std::string(value);
}

HidrawDeviceFacts factsOf(udev_device* device) {
    HidrawDeviceFacts facts;
    facts.sysname = udev_device_get_sysname(device);
    if (const char* devnode = udev_device_get_devnode(device))
        facts.devnode = devnode;
    // Parents belong to the child; they are not unreferenced here.
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr)) {
        facts.hidId = text(udev_device_get_property_value(hid, "HID_ID"));
        facts.hidPhys = text(udev_device_get_property_value(hid, "HID_PHYS"));
        // Binary, with zero bytes in it: read as a file, not as a sysattr string.
        const FileContents descriptor = readRegularFile(
            std::string(udev_device_get_syspath(hid)) + "/report_descriptor", kMaxReportDescriptor);
        if (descriptor.ok())
            facts.reportDescriptor = descriptor.bytes;
    }
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface"))
        facts.interfaceNumber = text(udev_device_get_sysattr_value(usb, "bInterfaceNumber"));
    return facts;
}
} // namespace

std::vector<HidrawDeviceFacts> udevHidrawDevices() {
    std::vector<HidrawDeviceFacts> result;
    const UdevPtr<udev> context(udev_new());
    if (!context)
        return result;
    const UdevPtr<udev_enumerate> enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0)
        return result;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        // A node removed since the scan has no device any more; it is simply not listed.
        const UdevPtr<udev_device> device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (device)
            result.push_back(factsOf(device.get()));
    }
    return result;
}

} // namespace q905
