// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UdevMonitor.h"

#include "device/HidBackend.h"
#include "platform/HidIds.h"

#include <libudev.h>

namespace q905 {

bool isKeyboardEvent(const DeviceEvent& event) {
    return event.vendorId == kKeyboardVendorId && event.productId == kKeyboardProductId;
}

struct UdevMonitor::Handles {
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    ~Handles() {
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
};

namespace {
bool udevDaemonRunning(udev* context) {
    udev_queue* queue = udev_queue_new(context);
    if (!queue)
        return false;
    const bool active = udev_queue_get_udev_is_active(queue) != 0;
    udev_queue_unref(queue);
    return active;
}

// The hid parent's HID_ID while the device exists; once it is removed its sysfs files are gone
// and only the device path still names vendor and product.
std::optional<HidId> eventHidId(udev_device* device) {
    if (udev_device* parent = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr))
        if (const char* value = udev_device_get_property_value(parent, "HID_ID"))
            if (auto id = parseHidId(value))
                return id;
    if (const char* path = udev_device_get_devpath(device))
        return hidIdFromDevicePath(path);
    return std::nullopt;
}
} // namespace

UdevMonitor::UdevMonitor() : m_handles(std::make_unique<Handles>()) {
    m_handles->context = udev_new();
    if (!m_handles->context) {
        m_error = "cannot create a udev context";
        m_handles.reset();
        return;
    }
    const char* source = udevDaemonRunning(m_handles->context) ? "udev" : "kernel";
    m_handles->monitor = udev_monitor_new_from_netlink(m_handles->context, source);
    if (!m_handles->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_handles->monitor, "hidraw", nullptr) <
            0 ||
        udev_monitor_enable_receiving(m_handles->monitor) < 0) {
        m_error = std::string("cannot listen to ") + source + " device events";
        m_handles.reset();
        return;
    }
    m_source = source;
}

UdevMonitor::~UdevMonitor() = default;

bool UdevMonitor::available() const {
    return m_handles != nullptr;
}

int UdevMonitor::fd() const {
    return m_handles ? udev_monitor_get_fd(m_handles->monitor) : -1;
}

std::optional<DeviceEvent> UdevMonitor::receive() {
    if (!m_handles)
        return std::nullopt;
    while (udev_device* device = udev_monitor_receive_device(m_handles->monitor)) {
        std::optional<DeviceEvent> event;
        const char* action = udev_device_get_action(device);
        const char* devnode = udev_device_get_devnode(device);
        const std::string_view actionName = action ? action : "";
        if (devnode && (actionName == "add" || actionName == "remove")) {
            event = DeviceEvent{actionName == "add" ? DeviceEvent::Action::Added
                                                    : DeviceEvent::Action::Removed,
                                devnode};
            if (const auto id = eventHidId(device)) {
                event->vendorId = id->vendorId;
                event->productId = id->productId;
            }
        }
        udev_device_unref(device);
        if (event)
            return event;
    }
    return std::nullopt;
}

} // namespace q905
